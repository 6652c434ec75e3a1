// SPDX-License-Identifier: GPL-3.0-or-later
#include "Routinen.h"

#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace routinen {
namespace {
QString g_ordner;
QString g_einstellungsdatei;

QString mitTrenner(QString pfad) {
    if (!pfad.endsWith(u'/'))
        pfad += u'/';
    return pfad;
}
} // namespace

void ordnerEinrichten() {
    const QString programm = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    // Without a config folder this becomes a folder at the root, as on a system without one.
    const QString basis = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    g_ordner = mitTrenner(basis) + QStringLiteral("Torvane/") + programm + u'/';
    // A failure shows later, when the settings file can't be written.
    QDir().mkpath(g_ordner);
    g_einstellungsdatei = mitTrenner(g_ordner) + programm + QStringLiteral(".ini");
}

QString AnwendungsdatenOrdner() {
    return g_ordner;
}
QString Einstellungsdatei() {
    return g_einstellungsdatei;
}

QString versionstextAus(int major, int minor, int release, int build) {
    return QStringLiteral("%1.%2.%3 Build: %4").arg(major).arg(minor).arg(release).arg(build);
}

double versionsnummerAus(int major, int minor) {
    return static_cast<double>(major + static_cast<long double>(minor) / 100);
}

bool Versionstext(QString& text) {
    text = versionstextAus(SKALORA_VERSION_MAJOR, SKALORA_VERSION_MINOR, SKALORA_VERSION_RELEASE,
                           SKALORA_VERSION_BUILD);
    return true;
}

bool Versionsnummer(double& nummer) {
    nummer = versionsnummerAus(SKALORA_VERSION_MAJOR, SKALORA_VERSION_MINOR);
    return true;
}

Sprache spracheVon(const QLocale& locale) {
    switch (locale.language()) {
    case QLocale::German:
        return Sprache::Deutsch;
    case QLocale::English:
        return Sprache::Englisch;
    default:
        return Sprache::Andere;
    }
}

Sprache Benutzersprache() {
    return spracheVon(QLocale::system());
}

} // namespace routinen
