// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ergebnisraster.h"

#include "Zahltext.h"

namespace raster {

QString kopf(int spalte) {
    static const QString texte[kSpalten] = {QStringLiteral("Nummer"), QStringLiteral("Name"),
                                            QStringLiteral("Punkte"), QStringLiteral("Note"),
                                            QStringLiteral("ECTS Gruppe")};
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
