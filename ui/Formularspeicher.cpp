// SPDX-License-Identifier: GPL-3.0-or-later
#include "Formularspeicher.h"

#include "EnhEdit.h"
#include "Fehler.h"
#include "IniDatei.h"
#include "Meldung.h"
#include "Radiogruppe.h"
#include "Routinen.h"
#include "Steuerelemente.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

// Date and time as a day count from 30 December 1899, the fraction being the time of day.
const QDateTime kNulltag(QDate(1899, 12, 30), QTime(0, 0));

double alsTage(const QDateTime& zeit) {
    return static_cast<double>(kNulltag.msecsTo(zeit)) / 86400000.0;
}

QDateTime ausTagen(double tage) {
    return kNulltag.addMSecs(static_cast<qint64>(std::llround(tage * 86400000.0)));
}

// The dialog's components in creation order; Qt's own inner parts carry no name of ours.
QList<QObject*> bestandteile(QWidget* dialog) {
    QList<QObject*> liste;
    for (QObject* o : dialog->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            liste.append(o);
    }
    return liste;
}

// Messages of failed saves that wait for their command to end.
QStringList& wartendeMeldungen() {
    static QStringList meldungen;
    return meldungen;
}

void meldeNachDemBefehl(const QString& text) {
    if (QThread::currentThread()->loopLevel() == 0) { // the program's end: no command to wait for
        meldung::fehler(text);
        return;
    }
    if (wartendeMeldungen().contains(text))
        return;
    wartendeMeldungen().append(text);
    QTimer::singleShot(0, QCoreApplication::instance(), [text] {
        wartendeMeldungen().removeOne(text);
        meldung::fehler(text);
    });
}

void speichere(IniDatei& ini, const QString& a, QObject* o) {
    const QString n = o->objectName();
    if (auto* zahl = qobject_cast<TEnhancedEdit*>(o)) {
        ini.schreibeZahl(a, n, zahl->Value());
    } else if (auto* edit = qobject_cast<QLineEdit*>(o)) {
        ini.schreibe(a, n, edit->text());
    } else if (auto* liste = qobject_cast<QComboBox*>(o)) {
        ini.schreibe(a, n, liste->currentText());
        ini.schreibeGanz(a, n + u'I', liste->currentIndex());
    } else if (auto* box = qobject_cast<QCheckBox*>(o)) {
        ini.schreibeBool(a, n, box->isChecked());
    } else if (auto* gruppe = qobject_cast<Radiogruppe*>(o)) {
        ini.schreibeGanz(a, n, gruppe->ItemIndex());
    } else if (auto* haken = qobject_cast<TCheckListBox*>(o)) {
        ini.schreibeGanz(a, n, haken->count());
        for (int i = 0; i < haken->count(); ++i)
            ini.schreibeBool(a, n + QString::number(i), haken->angehakt(i));
    } else if (auto* lb = qobject_cast<QListWidget*>(o)) {
        ini.schreibeGanz(a, n, lb->currentRow());
    } else if (auto* menue = qobject_cast<QAction*>(o)) {
        if (!menue->isSeparator())
            ini.schreibeBool(a, n, menue->isChecked());
    } else if (auto* datum = qobject_cast<QDateTimeEdit*>(o)) {
        ini.schreibeZahl(a, n, alsTage(datum->dateTime()));
    } else if (auto* regler = qobject_cast<QSlider*>(o)) {
        ini.schreibeGanz(a, n, regler->value());
    }
}

void stelleWiederHer(const IniDatei& ini, const QString& a, QObject* o) {
    const QString n = o->objectName();
    if (auto* liste = qobject_cast<QComboBox*>(o)) {
        liste->setCurrentIndex(static_cast<int>(ini.leseGanz(a, n + u'I', liste->currentIndex())));
        if (liste->isEditable())
            liste->setEditText(ini.lese(a, n, liste->currentText()));
    } else if (auto* zahl = qobject_cast<TEnhancedEdit*>(o)) {
        zahl->setValue(ini.leseZahl(a, n, zahl->Value()));
    } else if (auto* edit = qobject_cast<QLineEdit*>(o)) {
        edit->setText(ini.lese(a, n, edit->text()));
    } else if (auto* box = qobject_cast<QCheckBox*>(o)) {
        box->setChecked(ini.leseBool(a, n, box->isChecked()));
    } else if (auto* gruppe = qobject_cast<Radiogruppe*>(o)) {
        gruppe->setItemIndex(static_cast<int>(ini.leseGanz(a, n, gruppe->ItemIndex())));
    } else if (auto* haken = qobject_cast<TCheckListBox*>(o)) {
        const auto anzahl = ini.leseGanz(a, n, 0);
        for (int i = 0; i < anzahl && i < haken->count(); ++i)
            haken->setzeAngehakt(i, ini.leseBool(a, n + QString::number(i), haken->angehakt(i)));
    } else if (auto* lb = qobject_cast<QListWidget*>(o)) {
        lb->setCurrentRow(static_cast<int>(ini.leseGanz(a, n, lb->currentRow())));
    } else if (auto* menue = qobject_cast<QAction*>(o)) {
        if (!menue->isSeparator())
            menue->setChecked(ini.leseBool(a, n, menue->isChecked()));
    } else if (auto* datum = qobject_cast<QDateTimeEdit*>(o)) {
        datum->setDateTime(ausTagen(static_cast<double>(ini.leseZahl(a, n, alsTage(datum->dateTime())))));
    } else if (auto* regler = qobject_cast<QSlider*>(o)) {
        regler->setValue(static_cast<int>(ini.leseGanz(a, n, regler->value())));
    }
}

} // namespace

void FormularSpeichern(QWidget* dialog, const QString& datei, const QString& abschnitt) {
    IniDatei ini = IniDatei::laden(datei);
    markiereGeschrieben(ini, abschnitt);
    for (QObject* o : bestandteile(dialog))
        speichere(ini, abschnitt, o);
    ini.speichern();
}

bool FormularLaden(QWidget* dialog, const QString& datei, const QString& abschnitt) {
    const IniDatei ini = ladeGesichert(datei);
    const bool vorhanden = ini.leseBool(abschnitt, QStringLiteral("SektionVorhanden"), false);
    if (vorhanden)
        for (QObject* o : bestandteile(dialog))
            stelleWiederHer(ini, abschnitt, o);
    return vorhanden;
}

QString speicherfehlerText(const QString& dateifehler) {
    return dateifehler + QStringLiteral("\n\nDie Einstellungsdatei konnte nicht geschrieben werden.");
}

void FormularSpeichern(QWidget* dialog) {
    try {
        FormularSpeichern(dialog, routinen::Einstellungsdatei(), dialog->objectName());
    } catch (const Fehler& f) {
        meldeNachDemBefehl(speicherfehlerText(f.text()));
    }
}

bool FormularLaden(QWidget* dialog) {
    return FormularLaden(dialog, routinen::Einstellungsdatei(), dialog->objectName());
}
