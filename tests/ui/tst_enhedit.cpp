// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric input field: text to number, number to text, keys, paste and focus.
#include "EnhEdit.h"
#include "Zahltext.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <limits>

class TestEnhEdit : public QObject {
    Q_OBJECT

private:
    static void gebietsschema(const QString& name) {
        zahltext::uebernehmeGebietsschema(QLocale(name));
        QLocale::setDefault(QLocale(name));
    }

    // Two fields in a shown, active window, for focus and Enter.
    struct Fenster {
        QDialog dialog;
        TEnhancedEdit* erstes = new TEnhancedEdit(&dialog);
        TEnhancedEdit* zweites = new TEnhancedEdit(&dialog);
        QPushButton* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        Fenster() {
            auto* layout = new QVBoxLayout(&dialog);
            layout->addWidget(erstes);
            layout->addWidget(zweites);
            layout->addWidget(ok);
            ok->setDefault(true);
            QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
            dialog.show();
            QApplication::setActiveWindow(&dialog);
        }
    };

private slots:
    void init() { gebietsschema(QStringLiteral("de_DE")); }

    void lesen_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("acceptChars");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("getippt");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("ganz");
        const QString de = QStringLiteral("de_DE"), en = QStringLiteral("en_US");
        const int max = std::numeric_limits<qint32>::max(), min = std::numeric_limits<qint32>::min();

        QTest::newRow("decimal comma") << de << true << 2 << false << "4,0"
                                       << "4,0" << 4.0 << 4;
        QTest::newRow("point that cannot group is decimal") << de << true << 2 << false << "4.0"
                                                            << "4.0" << 4.0 << 4;
        QTest::newRow("point before three digits groups") << de << true << 2 << false << "4.000"
                                                          << "4.000" << 4000.0 << 4000;
        QTest::newRow("two commas unreadable") << de << true << 2 << false << "4,0,1"
                                               << "4,0,1" << 0.0 << 0;
        QTest::newRow("letters") << de << true << 2 << false << "abc"
                                 << "abc" << 0.0 << 0;
        QTest::newRow("empty") << de << true << 2 << false << ""
                               << "" << 0.0 << 0;
        QTest::newRow("grouped") << de << true << 2 << false << "1.234,5"
                                 << "1.234,5" << 1234.5 << 1234;
        QTest::newRow("truncated toward zero") << de << true << 2 << false << "-2,7"
                                               << "-2,7" << -2.7 << -2;
        QTest::newRow("typed past digits") << de << false << 1 << true << "12,34x"
                                           << "12,3" << 12.3 << 12;
        QTest::newRow("last comma survives") << de << false << 1 << false << "1,2,3"
                                             << "12,3" << 12.3 << 12;
        QTest::newRow("minus signs stay") << de << false << 1 << false << "-5-"
                                          << "-5-" << 0.0 << 0;
        QTest::newRow("digits 0 cuts nothing") << de << false << 0 << false << "1,25a"
                                               << "1,25" << 1.25 << 1;
        QTest::newRow("filter keeps grouping") << de << false << 2 << false << "1.2x34"
                                               << "1.234" << 1234.0 << 1234;
        QTest::newRow("above 32 bits clamps") << de << true << 2 << false << "3000000000"
                                              << "3000000000" << 3e9 << max;
        QTest::newRow("below 32 bits clamps") << de << true << 2 << false << "-3000000000"
                                              << "-3000000000" << -3e9 << min;
        QTest::newRow("beyond 64 bits") << de << true << 2 << false << "1E30"
                                        << "1E30" << 0.0 << 0;
        QTest::newRow("english point") << en << true << 2 << false << "4.0"
                                       << "4.0" << 4.0 << 4;
        QTest::newRow("english grouped") << en << true << 2 << false << "1,234.5"
                                         << "1,234.5" << 1234.5 << 1234;
        QTest::newRow("english comma that cannot group is decimal") << en << true << 2 << false << "4,0"
                                                                    << "4,0" << 4.0 << 4;
        QTest::newRow("english typed past digits") << en << false << 1 << true << "12.34x"
                                                   << "12.3" << 12.3 << 12;
    }
    void lesen() {
        QFETCH(QString, locale);
        QFETCH(bool, acceptChars);
        QFETCH(int, digits);
        QFETCH(bool, getippt);
        QFETCH(QString, eingabe);
        QFETCH(QString, text);
        QFETCH(double, wert);
        QFETCH(int, ganz);
        gebietsschema(locale);
        TEnhancedEdit feld;
        feld.setText(QStringLiteral("7"));
        feld.setAcceptChars(acceptChars);
        feld.setDigits(digits);
        if (getippt) {
            feld.clear();
            QTest::keyClicks(&feld, eingabe);
        } else {
            feld.setText(eingabe);
        }
        QCOMPARE(feld.text(), text);
        QCOMPARE(static_cast<double>(feld.Value()), wert);
        QCOMPARE(feld.ValueInt(), ganz);
    }

    // Typed, as the user meets it: the frame and tooltip follow the text key by key.
    void ungueltigBeimTippen_data() {
        QTest::addColumn<bool>("acceptChars");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<bool>("ungueltig");
        QTest::newRow("number") << true << "4,5" << false;
        QTest::newRow("grouped") << true << "1.234,5" << false;
        QTest::newRow("point as decimal") << true << "4.0" << false;
        QTest::newRow("point beside comma") << true << "1.0,5" << true;
        QTest::newRow("exponent") << true << "1,5E3" << false;
        QTest::newRow("letters") << true << "abc" << true;
        QTest::newRow("two commas") << true << "4,0,1" << true;
        QTest::newRow("trailing letter") << true << "4x" << true;
        QTest::newRow("lone minus") << true << "-" << true;
        QTest::newRow("lone comma") << true << "," << true;
        QTest::newRow("beyond 64 bits") << true << "1E30" << true;
        QTest::newRow("filtered to a number") << false << "1,2,3" << false;
        QTest::newRow("filtered minus signs") << false << "-5-" << true;
        QTest::newRow("filtered to nothing") << false << "abc" << false;
    }
    void ungueltigBeimTippen() {
        QFETCH(bool, acceptChars);
        QFETCH(QString, eingabe);
        QFETCH(bool, ungueltig);
        TEnhancedEdit feld;
        feld.setAcceptChars(acceptChars);
        feld.setDigits(1);
        feld.setToolTip(QStringLiteral("Punkte"));
        feld.clear();
        QTest::keyClicks(&feld, eingabe);
        QCOMPARE(feld.Ungueltig(), ungueltig);
        QCOMPARE(feld.toolTip(), ungueltig ? QStringLiteral("Keine gültige Zahl") : QStringLiteral("Punkte"));
        if (ungueltig) {
            QCOMPARE(static_cast<double>(feld.Value()), 0.0);
            QCOMPARE(feld.ValueInt(), 0);
        }
        // Mended by the user: frame and tooltip go, the caller's tooltip is back.
        feld.setText(QStringLiteral("2"));
        QVERIFY(!feld.Ungueltig());
        QCOMPARE(feld.toolTip(), QStringLiteral("Punkte"));
    }

    // The frame is really painted: red along the edge only while the text is unreadable.
    void roterRahmenGemalt() {
        TEnhancedEdit feld;
        feld.resize(80, 24);
        const auto rand = [&] { return feld.grab().toImage().pixelColor(1, feld.height() / 2); };
        const auto rot = [](const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; };
        feld.setText(QStringLiteral("4,0"));
        QVERIFY(!rot(rand()));
        feld.setText(QStringLiteral("4,0x"));
        QVERIFY(rot(rand()));
        feld.setValue(3);
        QVERIFY(!rot(rand()));
    }

    // Typed "1.000" reads as a thousand but may have meant one: marked with its own tooltip. The
    // same text written by the field itself from a Value is no slip.
    void mehrdeutigMarkiert() {
        TEnhancedEdit feld;
        feld.setToolTip(QStringLiteral("Punkte"));
        feld.clear();
        QTest::keyClicks(&feld, QStringLiteral("1.000"));
        QCOMPARE(static_cast<double>(feld.Value()), 1000.0);
        QVERIFY(feld.Mehrdeutig());
        QVERIFY(feld.toolTip().startsWith(QStringLiteral("Mehrdeutig: „.“ gilt als Tausendertrennzeichen, "
                                                         "gelesen wird 1000.")));
        QTest::keyClicks(&feld, QStringLiteral(",5"));
        QVERIFY(!feld.Mehrdeutig());
        QCOMPARE(feld.toolTip(), QStringLiteral("Punkte"));

        feld.setFormat(TFloatFormat::ffNumber);
        feld.setDigits(0);
        feld.setValue(1000);
        QCOMPARE(feld.text(), QStringLiteral("1.000"));
        QVERIFY(!feld.Mehrdeutig());
    }

    void bereich_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("marke"); // "", "bereich", "mehrdeutig", "ungueltig"
        QTest::newRow("inside") << "1,0"
                                << "";
        QTest::newRow("point inside") << "1.0"
                                      << "";
        QTest::newRow("upper end") << "6"
                                   << "";
        QTest::newRow("ten") << "10"
                             << "bereich";
        QTest::newRow("below") << "0,5"
                               << "bereich";
        QTest::newRow("empty counts as 0") << ""
                                           << "bereich";
        QTest::newRow("a thousand") << "1.000"
                                    << "mehrdeutig";
        QTest::newRow("unreadable first") << "1.0,0"
                                          << "ungueltig";
    }
    void bereich() {
        QFETCH(QString, eingabe);
        QFETCH(QString, marke);
        TEnhancedEdit feld;
        feld.setzeBereich(1, 6, QStringLiteral("Note von 1 bis 6"));
        feld.setText(QStringLiteral("2"));
        QVERIFY(!feld.AusserhalbBereich());
        feld.setText(eingabe);
        QCOMPARE(feld.AusserhalbBereich(), marke == QStringLiteral("bereich"));
        QCOMPARE(feld.Mehrdeutig(), marke == QStringLiteral("mehrdeutig"));
        QCOMPARE(feld.Ungueltig(), marke == QStringLiteral("ungueltig"));
        if (marke == QStringLiteral("bereich"))
            QCOMPARE(feld.toolTip(), QStringLiteral("Note von 1 bis 6"));
        else if (marke.isEmpty())
            QCOMPARE(feld.toolTip(), QString());
    }

    void filterSetztCaretZurueck() {
        TEnhancedEdit feld;
        feld.setAcceptChars(false);
        feld.setDigits(1);
        feld.setText(QStringLiteral("12,3"));
        feld.setCursorPosition(1);
        QTest::keyClicks(&feld, QStringLiteral("x"));
        QCOMPARE(feld.text(), QStringLiteral("12,3"));
        QCOMPARE(feld.cursorPosition(), 2);
    }

    void geaendertSiehtNeuenWert() {
        TEnhancedEdit feld;
        QList<double> gesehen;
        connect(&feld, &TEnhancedEdit::geaendert, this,
                [&] { gesehen << static_cast<double>(feld.Value()); });
        feld.setText(QStringLiteral("3,5"));
        feld.clear();
        QCOMPARE(gesehen, (QList<double>{3.5, 0.0}));
    }

    void formatieren_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<TFloatFormat>("format");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("ganzzahl");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("gelesen");
        const QString de = QStringLiteral("de_DE"), en = QStringLiteral("en_US");
        const auto G = TFloatFormat::ffGeneral, F = TFloatFormat::ffFixed, N = TFloatFormat::ffNumber;

        QTest::newRow("fixed") << de << F << 1 << false << 4.0 << "4,0" << 4.0;
        QTest::newRow("general") << de << G << 0 << false << 4.0 << "4" << 4.0;
        QTest::newRow("number reads back") << de << N << 1 << false << 1234.5 << "1.234,5" << 1234.5;
        QTest::newRow("rounded to shown") << de << F << 1 << false << 4.26 << "4,3" << 4.3;
        QTest::newRow("ValueInt") << de << F << 1 << true << 7.0 << "7,0" << 7.0;
        QTest::newRow("negative ValueInt") << de << N << 0 << true << -12345.0 << "-12.345" << -12345.0;
        QTest::newRow("shown text unchanged") << de << F << 1 << false << 0.01 << "0,0" << 0.0;
        QTest::newRow("not finite gives empty")
            << de << F << 1 << false << std::numeric_limits<double>::infinity() << "" << 0.0;
        QTest::newRow("english number") << en << N << 1 << false << 1234.5 << "1,234.5" << 1234.5;
    }
    void formatieren() {
        QFETCH(QString, locale);
        QFETCH(TFloatFormat, format);
        QFETCH(int, digits);
        QFETCH(bool, ganzzahl);
        QFETCH(double, wert);
        QFETCH(QString, text);
        QFETCH(double, gelesen);
        gebietsschema(locale);
        TEnhancedEdit feld;
        feld.setFormat(format);
        feld.setDigits(digits);
        if (ganzzahl)
            feld.setValueInt(static_cast<qint32>(wert));
        else
            feld.setValue(wert);
        QCOMPARE(feld.text(), text);
        QCOMPARE(static_cast<double>(feld.Value()), gelesen);
    }

    void gleicherWertLaesstTextStehen() {
        TEnhancedEdit feld;
        feld.setFormat(TFloatFormat::ffFixed);
        feld.setDigits(1);
        feld.clear();
        QTest::keyClicks(&feld, QStringLiteral("4"));
        feld.setValue(4);
        QCOMPARE(feld.text(), QStringLiteral("4"));
        feld.setValueInt(4);
        QCOMPARE(feld.text(), QStringLiteral("4"));
    }

    void formatWechselSchreibtNeu() {
        TEnhancedEdit feld;
        feld.setFormat(TFloatFormat::ffFixed);
        QCOMPARE(feld.text(), QStringLiteral("0,00"));
        feld.setText(QStringLiteral("4"));
        feld.setDigits(3);
        QCOMPARE(feld.text(), QStringLiteral("4,000"));
        feld.setFormat(TFloatFormat::ffGeneral);
        QCOMPARE(feld.text(), QStringLiteral("4"));
        feld.setText(QStringLiteral("3,14159"));
        feld.setPrecision(3);
        QCOMPARE(feld.text(), QStringLiteral("3,14"));
        QCOMPARE(static_cast<double>(feld.Value()), 3.14);
    }

    void einfuegen_data() {
        QTest::addColumn<QString>("ablage");
        QTest::addColumn<int>("taste");
        QTest::addColumn<Qt::KeyboardModifiers>("umschalt");
        QTest::addColumn<bool>("nurZiffern");
        QTest::addColumn<QString>("text");
        QTest::newRow("first line only")
            << "25\n30" << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << false << "1253";
        QTest::newRow("shift insert")
            << "25\t30" << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << "1253";
        QTest::newRow("empty deletes selection")
            << "" << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << false << "13";
        QTest::newRow("numbers only not applied")
            << "ab" << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << true << "1ab3";
    }
    void einfuegen() {
        QFETCH(QString, ablage);
        QFETCH(int, taste);
        QFETCH(Qt::KeyboardModifiers, umschalt);
        QFETCH(bool, nurZiffern);
        QFETCH(QString, text);
        QGuiApplication::clipboard()->setText(ablage);
        TEnhancedEdit feld;
        feld.setNumbersOnly(nurZiffern);
        feld.setText(QStringLiteral("123"));
        feld.setSelection(1, 1);
        QTest::keyClick(&feld, Qt::Key(taste), umschalt);
        QCOMPARE(feld.text(), text);
    }

    // The menu closes before its item runs; the focus coming back must keep the selection.
    void kontextmenueFuegtErsteZeileEin() {
        QGuiApplication::clipboard()->setText(QStringLiteral("25\r\n30"));
        Fenster f;
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.erstes->setFocus();
        f.erstes->setText(QStringLiteral("19"));
        f.erstes->setSelection(0, 1);
        QContextMenuEvent ereignis(QContextMenuEvent::Mouse, QPoint(2, 2),
                                   f.erstes->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(f.erstes, &ereignis);
        auto* menue = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menue);
        QAction* einfuegen = nullptr;
        for (QAction* aktion : menue->actions())
            if (aktion->text().startsWith(QLineEdit::tr("&Paste")))
                einfuegen = aktion;
        QVERIFY(einfuegen);
        menue->close();
        einfuegen->trigger();
        QCOMPARE(f.erstes->text(), QStringLiteral("259"));
        QCOMPARE(f.erstes->ValueInt(), 259);
    }

    void nurZiffernBeimTippen() {
        TEnhancedEdit feld;
        feld.setNumbersOnly(true);
        QTest::keyClicks(&feld, QStringLiteral("1a,-2"));
        QCOMPARE(feld.text(), QStringLiteral("12"));
    }

    void enterFuegtNichtsEin() {
        Fenster f;
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.erstes->setFocus();
        QTest::keyClicks(f.erstes, QStringLiteral("4"));
        QTest::keyClick(f.erstes, Qt::Key_Return);
        QTest::keyClick(f.erstes, Qt::Key_Enter);
        QCOMPARE(f.erstes->text(), QStringLiteral("4"));
        QVERIFY(f.erstes->hasFocus());
        QVERIFY(f.dialog.isVisible());

        f.erstes->setExitOnEnterKey(true);
        QTest::keyClick(f.erstes, Qt::Key_Return);
        QVERIFY(f.zweites->hasFocus());
        QCOMPARE(f.erstes->text(), QStringLiteral("4"));
    }

    void escStelltFokusTextWiederHer() {
        Fenster f;
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.zweites->setFocus();
        f.erstes->setText(QStringLiteral("4,0"));
        f.erstes->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.erstes, QStringLiteral("7"));
        QCOMPARE(f.erstes->text(), QStringLiteral("7"));
        QTest::keyClick(f.erstes, Qt::Key_Escape);
        QCOMPARE(f.erstes->text(), QStringLiteral("7"));

        f.erstes->setUndoOnEscKey(true);
        QTest::keyClick(f.erstes, Qt::Key_Escape);
        QCOMPARE(f.erstes->text(), QStringLiteral("4,0"));
        QCOMPARE(static_cast<double>(f.erstes->Value()), 4.0);
    }

    void fokusMarkiertAllesAusserPerMaus() {
        Fenster f;
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.erstes->setText(QStringLiteral("12,5"));
        f.zweites->setFocus();
        f.erstes->setFocus(Qt::OtherFocusReason);
        QCOMPARE(f.erstes->selectedText(), QStringLiteral("12,5"));

        f.zweites->setFocus();
        f.erstes->deselect();
        QTest::mouseClick(f.erstes, Qt::LeftButton, {}, QPoint(3, f.erstes->height() / 2));
        QVERIFY(f.erstes->hasFocus());
        QVERIFY(!f.erstes->hasSelectedText());
    }

    void grauDeaktiviert() {
        TEnhancedEdit feld;
        feld.setEnabled(false);
        const QColor grau = feld.palette().color(QPalette::Disabled, QPalette::Text);
        const QColor normal = feld.palette().color(QPalette::Active, QPalette::Text);
        QVERIFY(grau != normal);
        feld.setGrayDisabled(false);
        QCOMPARE(feld.palette().color(QPalette::Disabled, QPalette::Text), normal);
        feld.setGrayDisabled(true);
        QCOMPARE(feld.palette().color(QPalette::Disabled, QPalette::Text), grau);
    }
};

QTEST_MAIN(TestEnhEdit)
#include "tst_enhedit.moc"
