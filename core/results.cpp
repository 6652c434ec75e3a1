#include "results.h"

#include "Ansi.h"
#include "Sortierung.h"

#include <QHash>
#include <algorithm>
#include <cstring>

#include "Fehler.h"
#include "Zahltext.h"

QString TNotenEintrag::nameText() const { return ansi::zuText(nameBytes()); }

void TNotenEintrag::setzeName(QByteArrayView bytes) {
    const auto n = std::min<qsizetype>(bytes.size(), kNamenLaenge);
    std::memcpy(name, bytes.data(), static_cast<std::size_t>(n));
    laenge = static_cast<std::uint8_t>(n);
}

namespace raster {

QString kopf(int spalte) {
    static const QString texte[kSpalten] = {QStringLiteral("Nummer"), QStringLiteral("Name"), QStringLiteral("Punkte"),
                                            QStringLiteral("Note"), QStringLiteral("ECTS Gruppe")};
    return spalte >= 0 && spalte < kSpalten ? texte[spalte] : QString();
}

QString zelle(int spalte, int zeile, const TNotenEintrag& e) {
    switch (spalte) {
    case 0:
        return zahltext::ganz(zeile, 3) + u':';
    case 1:
        return e.nameText();
    case 2:
        return zahltext::fest(e.punkte, 1);
    case 3:
        return zahltext::fest(e.note, 1);
    case 4:
        return e.ects == 0 ? QString() : QString(QChar(e.ects));
    default:
        return {};
    }
}

} // namespace raster

void Auswertung::NotenUebernehmen() {
    if (FOriginal.empty())
        return;
    // First position of every name in FOriginal; a hash keeps this linear for long lists.
    QHash<QByteArray, qsizetype> erstes;
    erstes.reserve(static_cast<qsizetype>(FOriginal.size()));
    for (qsizetype i = 0; i < static_cast<qsizetype>(FOriginal.size()); ++i) {
        const QByteArray name = FOriginal[static_cast<std::size_t>(i)].nameBytes().toByteArray();
        if (!erstes.contains(name))
            erstes.insert(name, i);
    }
    for (const TNotenEintrag& e : FEintraege) {
        const auto it = erstes.constFind(QByteArray::fromRawData(e.nameBytes().data(), e.nameBytes().size()));
        if (it == erstes.cend())
            continue;
        TNotenEintrag& ziel = FOriginal[static_cast<std::size_t>(*it)];
        ziel.note = e.note;
        ziel.ects = e.ects;
    }
}

void Auswertung::SortierenNachName() { sortierung::nachName(FEintraege); }

void Auswertung::SortierenNachNote() { sortierung::nachNote(FEintraege); }

void Auswertung::ZeilenLoeschen(int oben, int unten) {
    if (FEintraege.empty())
        fehler::wirf(fehler::Bereichspruefung);
    const int n = static_cast<int>(FEintraege.size());
    const int von = std::max(oben, 1);
    const int bis = std::min(unten, n);
    if (von <= bis)
        FEintraege.erase(FEintraege.begin() + (von - 1), FEintraege.begin() + bis);
    FOriginal = FEintraege;
}
