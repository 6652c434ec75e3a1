// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that are killed: a child process saves a record file, a CSV export and the settings
// file in a loop and is killed with SIGKILL at random moments. Each file is then the complete
// file of one save, never a mix or cut short, and once the next save has succeeded no
// temporary file is left beside it.
#include "Dateifehler.h"
#include "Export.h"
#include "IniDatei.h"
#include "Notendatei.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QString kNoten = QStringLiteral("kurs.noten");
const QString kCsv = QStringLiteral("kurs.csv");
const QString kIni = QStringLiteral("skalora.ini");

// The list of save number g: its length and every entry depend on g, so a file made of two
// saves, or cut short, matches no save at all.
Notenliste liste(qint64 g) {
    Notenliste l;
    const int n = 300 + static_cast<int>((g * 37) % 1700);
    for (int i = 0; i < n; ++i)
        l.push_back(testeintrag(QStringLiteral("G%1-%2").arg(g).arg(i).toLatin1(),
                                static_cast<double>(g % 50) + static_cast<double>(i) / 8.0,
                                1 + (i % 50) / 10.0));
    return l;
}

void fuelleIni(IniDatei& ini, qint64 g) {
    markiereGeschrieben(ini, u"absturz");
    ini.schreibeGanz(u"absturz", u"generation", g);
    ini.schreibe(u"absturz", u"fuellung", QString(50 + static_cast<int>(g % 3000), u'x'));
}

QByteArray notenBytes(qint64 g) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    notendatei::schreibe(b, liste(g));
    return b.data();
}

QByteArray csvBytes(qint64 g) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    exportiereCsv(b, liste(g));
    return b.data();
}

QByteArray iniBytes(qint64 g) {
    IniDatei ini;
    fuelleIni(ini, g);
    return ini.alsBytes();
}

void speichereAlle(const QDir& ordner, qint64 g) {
    notendatei::schreibe(ordner.filePath(kNoten), liste(g));
    exportiereCsv(ordner.filePath(kCsv), liste(g));
    IniDatei ini = IniDatei::laden(ordner.filePath(kIni));
    fuelleIni(ini, g);
    ini.speichern();
}

// The save number a file names at its start ("G<g>-0" or "generation=<g>").
std::optional<qint64> nummer(const QByteArray& inhalt, const QByteArray& vor, char nach) {
    const qsizetype anfang = inhalt.indexOf(vor);
    if (anfang < 0)
        return std::nullopt;
    const qsizetype von = anfang + vor.size();
    const qsizetype bis = inhalt.indexOf(nach, von);
    if (bis < 0)
        return std::nullopt;
    return zahltext::leseGanz(QString::fromLatin1(inhalt.mid(von, bis - von)));
}

// The child: saves all three files with rising numbers until it is killed; "bereit" once the
// first round stands.
int kind(const QString& ordner, qint64 start) {
    const QDir dir(ordner);
    QElapsedTimer uhr;
    uhr.start();
    for (qint64 g = start; uhr.elapsed() < 30000; ++g) {
        speichereAlle(dir, g);
        if (g == start) {
            std::fputs("bereit\n", stdout);
            std::fflush(stdout);
        }
    }
    return 0;
}

bool setzeMarke(const QString& pfad) {
    return setxattr(QFile::encodeName(pfad).constData(), fehler::kZwischenstandMarke, "1", 1, 0) == 0;
}

} // namespace

class TestAbsturz : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void getoetetesSpeichern() {
        QTemporaryDir tmp(QDir::currentPath() + QStringLiteral("/absturz-XXXXXX"));
        QVERIFY(tmp.isValid());
        const QDir ordner(tmp.path());
        speichereAlle(ordner, 0);
        const QStringList ziele = {kCsv, kNoten, kIni};
        QMap<QString, qint64> zuletzt = {{kNoten, 0}, {kCsv, 0}, {kIni, 0}};

        std::mt19937 zufall(20261210);
        std::uniform_int_distribution<int> warte(0, 25000); // microseconds after the first round
        qint64 naechste = 1;
        QElapsedTimer uhr;
        uhr.start();
        for (int runde = 0; runde < 80 && uhr.elapsed() < 12000; ++runde) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--kind"), ordner.path(), QString::number(naechste)});
            QVERIFY(p.waitForStarted(5000));
            QVERIFY(p.waitForReadyRead(10000));
            QThread::usleep(static_cast<unsigned long>(warte(zufall)));
            p.kill(); // SIGKILL
            QVERIFY(p.waitForFinished(5000));
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);

            // Each file is one whole save, and none older than the one seen before.
            const struct {
                QString name;
                QByteArray vor;
                char nach;
                QByteArray (*bytes)(qint64);
            } arten[] = {{kNoten, "G", '-', notenBytes},
                         {kCsv, "G", '-', csvBytes},
                         {kIni, "generation=", '\r', iniBytes}};
            for (const auto& a : arten) {
                const QByteArray inhalt = inhaltVon(ordner.filePath(a.name));
                const auto g = nummer(inhalt, a.vor, a.nach);
                QVERIFY2(
                    g,
                    qPrintable(QStringLiteral("%1 names no save (%2 bytes)").arg(a.name).arg(inhalt.size())));
                QVERIFY2(inhalt == a.bytes(*g),
                         qPrintable(QStringLiteral("%1 is not save %2 whole").arg(a.name).arg(*g)));
                QVERIFY(*g >= zuletzt[a.name]);
                zuletzt[a.name] = *g;
                naechste = std::max(naechste, *g + 2);
            }

            // The next save succeeds, and only the three files are left.
            speichereAlle(ordner, naechste);
            for (const QString& z : ziele)
                zuletzt[z] = naechste;
            QCOMPARE(ordner.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), ziele);
            ++naechste;
        }
    }

    // What a save removes beside its target: files that QSaveFile would name for it, that
    // carry the mark of a temporary file of ours, and that no running save holds.
    void verwaisteZwischenstaende_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("markiert");
        QTest::addColumn<bool>("gesperrt");
        QTest::addColumn<bool>("bleibt");
        QTest::newRow("ours, left by a killed save") << "kurs.csv.AbCdEf" << true << false << false;
        QTest::newRow("ours, of a save still running") << "kurs.csv.AbCdEf" << true << true << true;
        QTest::newRow("the user's own, same pattern") << "kurs.csv.backup" << false << false << true;
        QTest::newRow("marked, longer suffix") << "kurs.csv.AbCdEfG" << true << false << true;
        QTest::newRow("marked, of another target") << "kurse.csv.AbCdEf" << true << false << true;
    }
    void verwaisteZwischenstaende() {
        QFETCH(QString, name);
        QFETCH(bool, markiert);
        QFETCH(bool, gesperrt);
        QFETCH(bool, bleibt);
        QTemporaryDir tmp(QDir::currentPath() + QStringLiteral("/absturz-XXXXXX"));
        const QDir ordner(tmp.path());
        const QString pfad = ordner.filePath(name);
        schreibeTestdatei(pfad, "halb");
        if (markiert && !setzeMarke(pfad))
            QSKIP("this file system keeps no extended attributes");
        const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        if (gesperrt)
            QCOMPARE(flock(fd, LOCK_EX | LOCK_NB), 0);

        exportiereCsv(ordner.filePath(kCsv), liste(1));
        ::close(fd);
        QCOMPARE(QFile::exists(pfad), bleibt);
        QCOMPARE(inhaltVon(ordner.filePath(kCsv)), csvBytes(1));
        // The saved file itself carries no mark.
        char wert = 0;
        QCOMPARE(getxattr(QFile::encodeName(ordner.filePath(kCsv)).constData(), fehler::kZwischenstandMarke,
                          &wert, 1),
                 ssize_t(-1));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--kind") == 0) {
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        return kind(QString::fromLocal8Bit(argv[2]),
                    zahltext::leseGanz(QString::fromLatin1(argv[3])).value_or(0));
    }
    TestAbsturz test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_absturz.moc"
