// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Progress and cancelling of long work (files, reports at scale). The window starts such work on
// a worker thread bound to a Stand; the work's loops call melde() now and then. Unbound (tests,
// the command line, the window thread), melde() only costs a thread-local read.
// Cancelling throws Abgebrochen out of melde(); work that builds its result aside and hands it
// over at the end thereby leaves the user's list and files as they were.

#include <QtGlobal>

#include <atomic>
#include <functional>

namespace fortschritt {

// Thrown by melde() and pruefe() once cancelling was asked. Not a Fehler: nothing failed, and no
// error box is shown for it.
struct Abgebrochen {};

// What a job has done, shared between the worker and the window.
struct Stand {
    std::atomic<qint64> erledigt{0}; // units done (rows, entries or bytes)
    std::atomic<qint64> gesamt{0};   // units in all; 0 while unknown
    std::atomic<bool> abbrechen{false};
};

// Binds the current thread to a Stand for its lifetime; the previous binding comes back after.
class Bindung {
public:
    explicit Bindung(Stand& stand);
    ~Bindung();
    Bindung(const Bindung&) = delete;
    Bindung& operator=(const Bindung&) = delete;

private:
    Stand* m_vorher;
};

// Units done so far (and in all, when known, else 0); throws Abgebrochen when cancelling was asked.
// Cheap enough for every few thousand rows; not for every character.
void melde(qint64 erledigt, qint64 gesamt = 0);
// Only the cancel check.
void pruefe();
// True while the current thread is bound (work that may be cancelled).
bool gebunden();

// For tests: called on the bound thread by every melde() and pruefe(), before the cancel check,
// so a test can hold the work at a known point until it has done what it checks. Empty: none.
using Testhalt = std::function<void()>;
void setzeTesthalt(Testhalt halt);

} // namespace fortschritt
