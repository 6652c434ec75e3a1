// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog state store walks a dialog's controls and keeps every known kind by its name.
#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "IniDatei.h"
#include "Radiogruppe.h"
#include "Steuerelemente.h"
#include "UiTesthilfe.h"
#include "Zahltext.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A dialog with one control of every kind the store knows, plus some it ignores.
struct Probedialog : QDialog {
    QLineEdit* edit = new QLineEdit(this);
    TEnhancedEdit* zahl = new TEnhancedEdit(this);
    TLabeledEdit* beschriftet = new TLabeledEdit(QStringLiteral("Beschriftung"), this);
    QComboBox* liste = new QComboBox(this);
    QCheckBox* haken = new QCheckBox(this);
    Radiogruppe* gruppe = new Radiogruppe(QStringLiteral("Gruppe"), {"a", "b", "c"}, this);
    QListWidget* listbox = new QListWidget(this);
    TCheckListBox* hakenliste = new TCheckListBox(this);
    QAction* menue = new QAction(QStringLiteral("Menü"), this);
    QDateTimeEdit* datum = new QDateTimeEdit(this);
    QSlider* regler = new QSlider(this);
    QLabel* label = new QLabel(QStringLiteral("nicht gespeichert"), this);

    Probedialog() {
        setObjectName(QStringLiteral("probe"));
        const std::pair<QObject*, const char*> namen[] = {
            {edit, "edit"},   {zahl, "zahl"},     {beschriftet, "beschriftet"}, {liste, "liste"},
            {haken, "haken"}, {gruppe, "gruppe"}, {listbox, "listbox"},         {hakenliste, "hakenliste"},
            {menue, "menue"}, {datum, "datum"},   {regler, "regler"},           {label, "label"}};
        for (const auto& [o, n] : namen)
            o->setObjectName(QString::fromLatin1(n));
        liste->addItems({"eins", "zwei", "drei"});
        listbox->addItems({"x", "y"});
        hakenliste->fuegeHinzu(QStringLiteral("p"));
        hakenliste->fuegeHinzu(QStringLiteral("q"));
        menue->setCheckable(true);
        regler->setRange(0, 100);
        zahl->setDigits(1);
        zahl->setFormat(TFloatFormat::ffFixed);
    }
};
} // namespace

class TestFormularspeicher : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString datei() const { return m_dir.filePath(QStringLiteral("probe.ini")); }

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }
    void init() {
        QFile::remove(datei());
        QFile::remove(sicherungsdatei(datei()));
    }

    void rundreiseAllerArten() {
        {
            Probedialog d;
            d.edit->setText(QStringLiteral("Text mit = Zeichen"));
            d.zahl->setValue(4.5L);
            d.beschriftet->setText(QStringLiteral("#9"));
            d.liste->setCurrentIndex(2);
            d.haken->setChecked(true);
            d.gruppe->setItemIndex(1);
            d.listbox->setCurrentRow(1);
            d.hakenliste->setzeAngehakt(1, true);
            d.menue->setChecked(true);
            d.datum->setDateTime(QDateTime(QDate(2026, 12, 10), QTime(18, 0)));
            d.regler->setValue(42);
            FormularSpeichern(&d, datei(), d.objectName());
        }
        const IniDatei ini = IniDatei::laden(datei());
        QCOMPARE(ini.lese(u"probe", u"zahl", {}), QStringLiteral("4,5")); // the number, not the text
        QCOMPARE(ini.lese(u"probe", u"liste", {}), QStringLiteral("drei"));
        QCOMPARE(ini.lese(u"probe", u"listeI", {}), QStringLiteral("2"));
        QCOMPARE(ini.lese(u"probe", u"hakenliste", {}), QStringLiteral("2"));
        QCOMPARE(ini.lese(u"probe", u"hakenliste1", {}), QStringLiteral("1"));
        QCOMPARE(ini.lese(u"probe", u"datum", {}), QStringLiteral("46366,75"));
        QCOMPARE(ini.lese(u"probe", u"label", QStringLiteral("-")),
                 QStringLiteral("-")); // labels are not kept

        Probedialog d;
        QVERIFY(FormularLaden(&d, datei(), d.objectName()));
        QCOMPARE(d.edit->text(), QStringLiteral("Text mit = Zeichen"));
        QCOMPARE(d.zahl->Value(), 4.5L);
        QCOMPARE(d.zahl->text(), QStringLiteral("4,5"));
        QCOMPARE(d.beschriftet->text(), QStringLiteral("#9"));
        QCOMPARE(d.liste->currentIndex(), 2);
        QVERIFY(d.haken->isChecked());
        QCOMPARE(d.gruppe->ItemIndex(), 1);
        QCOMPARE(d.listbox->currentRow(), 1);
        QVERIFY(!d.hakenliste->angehakt(0));
        QVERIFY(d.hakenliste->angehakt(1));
        QVERIFY(d.menue->isChecked());
        QCOMPARE(d.datum->dateTime(), QDateTime(QDate(2026, 12, 10), QTime(18, 0)));
        QCOMPARE(d.regler->value(), 42);
    }

    void ohneAbschnittBleibtAlles() {
        Probedialog d;
        d.zahl->setValue(7);
        QVERIFY(!FormularLaden(&d, datei(), d.objectName()));
        QCOMPARE(d.zahl->Value(), 7.0L);
    }

    void fehlendeUndUnlesbareWerteLassenDasSteuerelement() {
        QFile f(datei());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[PROBE]\r\nSektionVorhanden=1\r\nzahl=vier\r\nregler=12\r\nhakenliste=5\r\nhakenliste0=1\r\n"
                "hakenliste1=1\r\nhakenliste4=1\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n");
        f.close();
        Probedialog d;
        d.zahl->setValue(3);
        d.gruppe->setItemIndex(2);
        QVERIFY(FormularLaden(&d, datei(), d.objectName()));
        QCOMPARE(d.zahl->Value(), 3.0L);    // unreadable: unchanged
        QCOMPARE(d.gruppe->ItemIndex(), 2); // missing: unchanged
        QCOMPARE(d.regler->value(), 12);
        // More stored items than the list has: the restore stops at its last item.
        QVERIFY(d.hakenliste->angehakt(0) && d.hakenliste->angehakt(1));
        QCOMPARE(d.hakenliste->count(), 2);
    }

    // The program's form never throws: a failed save is reported, once, after the command
    // that made it; with no event loop running (the program's end) at once.
    void fehlschlagMeldetEinmalNachDemBefehl_data() {
        QTest::addColumn<bool>("imBefehl");
        QTest::newRow("inside a command") << true;
        QTest::newRow("at the program's end") << false;
    }
    void fehlschlagMeldetEinmalNachDemBefehl() {
        QFETCH(bool, imBefehl);
        uitest::Umgebung& u = uitest::umgebung();
        u.vergiss();
        const QString datei = routinen::Einstellungsdatei();
        QVERIFY(QDir().mkpath(datei)); // a folder where the file should be
        const auto aufraeumen = qScopeGuard([&] { QDir(datei).removeRecursively(); });
        Probedialog d;
        const QString erwartet = QStringLiteral("Dateizugriff verweigert\n") +
                                 QDir::toNativeSeparators(datei) +
                                 QStringLiteral("\n\nDie Einstellungsdatei konnte nicht geschrieben werden.");
        QCOMPARE(
            speicherfehlerText(QStringLiteral("Dateizugriff verweigert\n") + QDir::toNativeSeparators(datei)),
            erwartet);
        if (imBefehl) {
            QEventLoop befehl;
            QStringList waehrendDesBefehls;
            QTimer::singleShot(0, &befehl, [&] {
                FormularSpeichern(&d); // e.g. "OK" and then the closing of the dialog
                FormularSpeichern(&d);
                waehrendDesBefehls = u.meldungen;
                befehl.quit();
            });
            befehl.exec();
            QVERIFY(waehrendDesBefehls.isEmpty());
            QTRY_COMPARE(u.meldungen, QStringList{erwartet});
            QTest::qWait(20); // and no second one later
            QCOMPARE(u.meldungen, QStringList{erwartet});
        } else {
            FormularSpeichern(&d);
            QCOMPARE(u.meldungen, QStringList{erwartet});
        }
        QCOMPARE(u.arten, QList<meldung::Art>{meldung::Art::Fehler});
    }
};

QTEST_MAIN(TestFormularspeicher)
#include "tst_formularspeicher.moc"
