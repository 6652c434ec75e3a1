#include "Notendatei.h"

#include "Dateifehler.h"
#include "Fehler.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace notendatei {
namespace {
constexpr qint64 kSatz = sizeof(TNotenEintrag);
}

Notenliste lese(QIODevice& geraet) {
    const qint64 groesse = geraet.size();
    const qint64 anzahl = groesse / kSatz;
    Notenliste liste(static_cast<std::size_t>(anzahl), leererEintrag());
    if (anzahl > 0) {
        const qint64 soll = anzahl * kSatz;
        char* ziel = reinterpret_cast<char*>(liste.data());
        qint64 gelesen = 0;
        while (gelesen < soll) {
            errno = 0;
            const qint64 r = geraet.read(ziel + gelesen, soll - gelesen);
            if (r <= 0) {
                if (auto* datei = qobject_cast<QFileDevice*>(&geraet); datei && r < 0)
                    fehler::wirfDateifehler(*datei, errno);
                fehler::wirf(QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
            }
            gelesen += r;
        }
    }
    for (auto& e : liste)
        if (e.laenge > TNotenEintrag::kNamenLaenge)
            e.laenge = TNotenEintrag::kNamenLaenge;
    return liste;
}

Notenliste lese(const QString& pfad) {
    QFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::ReadOnly))
        fehler::wirfDateifehler(datei, errno);
    return lese(datei);
}

void schreibe(QIODevice& geraet, const Notenliste& liste) {
    if (!liste.isEmpty())
        fehler::schreibeAlles(geraet, QByteArrayView(reinterpret_cast<const char*>(liste.constData()),
                                                     static_cast<qint64>(liste.size()) * kSatz));
}

void schreibe(const QString& pfad, const Notenliste& liste) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    schreibe(static_cast<QIODevice&>(datei), liste);
    fehler::schliesseAb(datei);
}

} // namespace notendatei
