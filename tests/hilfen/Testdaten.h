// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small builders the tests share.

#include "Eintrag.h"

#include <QFile>
#include <QTest>

inline TNotenEintrag testeintrag(QByteArrayView name, double punkte = 0, double note = 0, char16_t ects = 0) {
    TNotenEintrag e = leererEintrag();
    e.setzeName(name);
    e.punkte = punkte;
    e.note = note;
    e.ects = ects;
    return e;
}

// The whole content of a file; empty when it can't be read.
inline QByteArray inhaltVon(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void schreibeTestdatei(const QString& pfad, QByteArrayView inhalt) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(inhalt.data(), inhalt.size()), inhalt.size());
}
