// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the offscreen window tests: a temporary per-user config folder, the German
// locale, captured messages, and answers to modal file dialogs.

#include "IniDatei.h"
#include "Meldung.h"
#include "Programm.h"
#include "Routinen.h"
#include "Zahltext.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace uitest {

struct Umgebung {
    QTemporaryDir konfig;
    QStringList meldungen;
    QList<meldung::Art> arten; // the kind of each message

    Umgebung() {
        qputenv("XDG_CONFIG_HOME", konfig.path().toLocal8Bit());
        anwendung::einrichten();
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        meldung::setzeAnzeige([this](meldung::Art art, const QString& text) {
            meldungen << text;
            arten << art;
            return true;
        });
    }

    // A fresh start: no settings file, no backup.
    void vergiss() {
        QFile::remove(routinen::Einstellungsdatei());
        QFile::remove(sicherungsdatei(routinen::Einstellungsdatei()));
        meldungen.clear();
        arten.clear();
    }

    QByteArray einstellungsdatei() const {
        QFile f(routinen::Einstellungsdatei());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The environment of this test process, made at first use (inside the QApplication).
inline Umgebung& umgebung() {
    static Umgebung u;
    return u;
}

// Answers the next modal file dialog with `datei`, typed into its name field.
inline void beantworteDateidialog(const QString& datei) {
    QTimer::singleShot(0, [datei] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* feld = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(feld);
        feld->setText(datei);
        static_cast<QDialog*>(dialog)->accept();
    });
}

} // namespace uitest
