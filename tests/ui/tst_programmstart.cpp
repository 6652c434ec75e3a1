// SPDX-License-Identifier: GPL-3.0-or-later
// The real program started as a German user starts it: the C library keeps writing and reading
// numbers with a point, while the rest of the user's locale stays in force.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>

class TestProgrammstart : public QObject {
    Q_OBJECT

private slots:
    void cZahlenUnterDeutschemGebietsschema() {
        const char* vorher = std::setlocale(LC_ALL, nullptr);
        const QByteArray alt = vorher ? QByteArray(vorher) : QByteArray("C");
        const bool da = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        std::setlocale(LC_ALL, alt.constData());
        if (!da)
            QSKIP("de_DE.UTF-8 fehlt (scripts/install-deps erzeugt es)");

        QTemporaryDir konfig;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        umgebung.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), konfig.path());
        umgebung.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SKALORA_ZAHLSONDE));
        // In the sanitizer build the probe comes before the sanitizer's runtime.
        umgebung.insert(QStringLiteral("ASAN_OPTIONS"), umgebung.value(QStringLiteral("ASAN_OPTIONS")) +
                                                            QStringLiteral(":verify_asan_link_order=0"));
        QProcess programm;
        programm.setProcessEnvironment(umgebung);
        programm.start(QStringLiteral(SKALORA_PROGRAMM), {});
        QVERIFY(programm.waitForFinished(60000));
        const QByteArray ausgabe = programm.readAllStandardOutput().trimmed();
        QCOMPARE(ausgabe, QByteArray("LC_NUMERIC=C LC_CTYPE=de_DE.UTF-8 schreibt=1.5 liest=1"));
    }
};

QTEST_APPLESS_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
