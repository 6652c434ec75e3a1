// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long work off the window thread. A job runs on a worker bound to a fortschritt::Stand while the
// window thread waits in a local event loop, so the windows keep painting and timers run. After
// a short delay a progress dialog shows what is done and offers "Abbrechen". The job touches no
// widget; its result, or the error it raised, comes back on the window thread.

#include <QString>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class QObject;
class QWidget;

namespace hintergrund {

// Runs `arbeit` on a worker and returns when it has ended. An exception it raised is raised
// again here. A job the user cancelled raises fortschritt::Abgebrochen, also when it ended
// without noticing: its result is not wanted. `text` heads the progress dialog. One job at a
// time: a second one while one runs is refused with a message.
// `mit`, an object of the window thread only the job uses (a document copy), lives on the worker
// while the job runs and comes back after.
void laufe(QWidget* eltern, const QString& text, const std::function<void()>& arbeit, QObject* mit = nullptr);

// The same for a job with a result, which is handed back.
template <class F> auto fuehreAus(QWidget* eltern, const QString& text, F&& arbeit) {
    using Ergebnis = std::invoke_result_t<F&>;
    if constexpr (std::is_void_v<Ergebnis>) {
        laufe(eltern, text, arbeit);
    } else {
        std::optional<Ergebnis> ergebnis;
        laufe(eltern, text, [&] { ergebnis.emplace(arbeit()); });
        return std::move(*ergebnis);
    }
}

// True while a job runs.
bool laeuft();

// For tests: the delay before the progress dialog shows, in ms; negative restores the normal one.
void setzeTestverzoegerung(int ms);

} // namespace hintergrund
