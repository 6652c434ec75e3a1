// SPDX-License-Identifier: GPL-3.0-or-later
#include "Aktualisierung.h"

#include "Zahltext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace aktualisierung {
namespace {

struct Texte {
    const char16_t* deutsch;
    const char16_t* englisch;
};

// A line break stands where the texts always had a carriage return; Qt's message box breaks there.
constexpr Texte kTexte[] = {
    {u"vom ", u"from : "},
    {u"Version %f, auf dem Server ist %f.\nAktualisieren?",
     u"Version %f, on the Server you find %f.\ndo you want to upgrade?"},
    {u"ZIP Entpacker kann nicht geöffnet werden !", u"ZIP Decompressor can not be started!"},
    {u"Alles (*.*)|*.*", u"Anything (*.*)|*.*"},
    {u"Info über ", u"Info about "},
    {u"Heruntergeladen %d von %d Bytes", u"%d of %d Bytes downloaded"},
    {u"Installierte Version %f\nVersion auf dem Server %f\nBitte beenden Sie nun zuerst dieses Programm.\n"
     u"Danach entpacken Sie nun die Dateien im Zip Archiv in ihr Programmverzeichnis",
     u"Installed version %f\nVersion on the Server %f\nPlease close now this program.\n"
     u"after that pleas unzip the files of the zip archive in the installation folder"},
    {u"Problem beim Verbinden mit dem Server", u"Error when connecting the server!"},
    {u"Derzeit befindet sich keine aktuellere Version auf dem Server",
     u"You have the actual version installed!"},
    {u"Die Versionsdatei auf dem Server enthält keine gültige Versionsnummer",
     u"The version file on the server holds no valid version number!"},
};

bool g_englisch = false;

// Replaces the directives "%f" and "%d" in their order by the texts given.
QString fuelle(Text t, std::initializer_list<QString> werte) {
    const QString vorlage = text(t);
    QString r;
    auto wert = werte.begin();
    for (qsizetype i = 0; i < vorlage.size(); ++i) {
        if (vorlage[i] == u'%' && i + 1 < vorlage.size() &&
            (vorlage[i + 1] == u'f' || vorlage[i + 1] == u'd') && wert != werte.end()) {
            r += *wert++;
            ++i;
        } else {
            r += vorlage[i];
        }
    }
    return r;
}

} // namespace

QString mitEndung(const QString& datei, const QString& endung) {
    const qsizetype name = std::max(datei.lastIndexOf(u'/'), datei.lastIndexOf(u'\\')) + 1;
    const qsizetype punkt = datei.lastIndexOf(u'.');
    return (punkt >= name ? datei.left(punkt) : datei) + endung;
}

std::optional<double> serverVersion(QByteArrayView koerper) {
    // A version's major and minor numbers are 16 bits each; the file writes the minor as two decimals.
    constexpr int kHoechsteHauptnummer = 65535;
    constexpr std::size_t kNachkomma = 2;
    std::string zahl;
    for (const char c : koerper) {
        if (c >= '0' && c <= '9')
            zahl += c;
        else if (c == ',')
            zahl += '.'; // read with the comma as separator, whatever the user's locale says
        else
            break;
    }
    if (zahl.empty())
        return std::nullopt;
    const std::size_t punkt = std::min(zahl.find('.'), zahl.size());
    const std::size_t fuehrend = std::min(zahl.find_first_not_of('0'), punkt);
    int haupt = 0;
    if (punkt - fuehrend > 5 ||
        (punkt > fuehrend &&
         std::from_chars(zahl.data() + fuehrend, zahl.data() + punkt, haupt).ec != std::errc()) ||
        haupt > kHoechsteHauptnummer || (punkt < zahl.size() && zahl.size() - punkt - 1 > kNachkomma))
        return std::nullopt;
    // Read as wide as the own version is computed, so equal versions compare equal.
    long double wert = 0;
    const auto r = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != zahl.data() + zahl.size())
        return std::nullopt;
    const auto d = static_cast<double>(wert);
    if (!std::isfinite(d))
        return std::nullopt;
    return d;
}

Folge entscheide(std::optional<double> server, std::optional<double> eigene) {
    if (!server)
        return Folge::Verbindungsproblem;
    if (!eigene)
        return Folge::Ende;
    return *server == *eigene ? Folge::KeineNeuere : Folge::Frage;
}

bool nochMoeglich(const Erwartung& e, qint64 erhalten) {
    if (e.kopf && e.koerper && *e.kopf != *e.koerper)
        return false;
    qint64 hoechstens = e.grenze;
    for (const std::optional<qint64>& laenge : {e.kopf, e.koerper})
        if (laenge)
            hoechstens = std::min(hoechstens, *laenge);
    return e.kopf.value_or(0) <= e.grenze && e.koerper.value_or(0) <= e.grenze && erhalten <= hoechstens;
}

bool vollstaendig(const Erwartung& e, qint64 erhalten) {
    return nochMoeglich(e, erhalten) && (!e.kopf || *e.kopf == erhalten) &&
           (!e.koerper || *e.koerper == erhalten);
}

int frist(int grund, qint64 bytes) {
    // A line slower than this won't finish an archive before anyone gives up waiting anyway.
    constexpr qint64 kBytesProSekunde = 64 * 1024;
    const qint64 dauer = std::max<qint64>(bytes, 0) / kBytesProSekunde * 1000 +
                         std::max<qint64>(bytes, 0) % kBytesProSekunde * 1000 / kBytesProSekunde;
    const qint64 ms = std::max(grund, 0) + dauer;
    return static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

void waehleSprache(routinen::Sprache sprache) {
    g_englisch = sprache != routinen::Sprache::Deutsch;
}

QString text(Text t) {
    const Texte& e = kTexte[static_cast<int>(t) - 1];
    return QString::fromUtf16(g_englisch ? e.englisch : e.deutsch);
}

QString frage(double eigene, double server) {
    return fuelle(Text::Frage, {zahltext::fest(eigene, 2), zahltext::fest(server, 2)});
}

QString fortschritt(qint64 bisher, qint64 gesamt) {
    return fuelle(Text::Fortschritt, {zahltext::ganz(bisher), zahltext::ganz(gesamt)});
}

QString ohneServerversion(bool geholt) {
    return text(geholt ? Text::KeineVersion : Text::Verbindungsproblem);
}

QString nachDownload(double eigene, double server) {
    return fuelle(Text::NachDownload, {zahltext::fest(eigene, 2), zahltext::fest(server, 2)});
}

} // namespace aktualisierung
