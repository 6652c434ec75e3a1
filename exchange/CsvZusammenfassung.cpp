// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of an import's summary: the status bar line, its details and the message when
// nothing came in.
#include "Import.h"

#include "Zahltext.h"

namespace {

QString anzahlText(qsizetype n, const QString& einzahl, const QString& mehrzahl) {
    return zahltext::ganz(n) + u' ' + (n == 1 ? einzahl : mehrzahl);
}

QString dezimal() {
    return QString(zahltext::trennzeichen().dezimal);
}

QString grundText(const UebergangeneZeile& u) {
    switch (u.grund) {
    case Uebergangsgrund::KeinName:
        return QStringLiteral("kein Name");
    case Uebergangsgrund::PunkteKeineZahl:
        return QStringLiteral(
                   "Punkte „%1“ sind keine Zahl im eingestellten Zahlenformat (Dezimaltrennzeichen „%2“)")
            .arg(u.punkte, dezimal());
    case Uebergangsgrund::PunkteMinusEins:
        return QStringLiteral("Punkte %1 gelten als keine Angabe").arg(zahltext::ganz(-1));
    case Uebergangsgrund::KeinePunkte:
        return QStringLiteral("keine Punkte");
    }
    return {};
}

} // namespace

QString ImportZusammenfassung::statusText() const {
    QString text =
        anzahlText(uebernommen, QStringLiteral("Prüfling übernommen"),
                   QStringLiteral("Prüflinge übernommen")) +
        QStringLiteral(", ") +
        anzahlText(uebergangen, QStringLiteral("Zeile übergangen"), QStringLiteral("Zeilen übergangen"));
    if (titelzeilen > 0)
        text += QStringLiteral(", ") + anzahlText(titelzeilen, QStringLiteral("Titelzeile übersprungen"),
                                                  QStringLiteral("Titelzeilen übersprungen"));
    if (geteilteZahlen > 0)
        text +=
            QStringLiteral("; Achtung: Trennzeichen und Dezimaltrennzeichen sind beide „%1“").arg(dezimal());
    return text;
}

QString ImportZusammenfassung::uebergangeneText() const {
    QStringList zeilen;
    if (titelzeilen == 1)
        zeilen << QStringLiteral("Titelzeile: „%1“").arg(ersteTitelzeile);
    else if (titelzeilen > 1)
        zeilen << QStringLiteral("Erste Titelzeile: „%1“").arg(ersteTitelzeile);
    if (geteilteZahlen > 0)
        zeilen << QStringLiteral(
                      "Achtung: Das Trennzeichen „%1“ ist zugleich das Dezimaltrennzeichen, so werden "
                      "Punkte mit Nachkommastellen in zwei Felder geteilt. %2 so aus, zuerst Zeile %3 "
                      "(„%4“ und „%5“). Setzen Sie solche Zahlen in Anführungszeichen oder wählen Sie "
                      "ein anderes Trennzeichen.")
                      .arg(dezimal(),
                           geteilteZahlen == 1
                               ? QStringLiteral("Eine Zeile sieht")
                               : QStringLiteral("%1 Zeilen sehen").arg(zahltext::ganz(geteilteZahlen)),
                           zahltext::ganz(ersteGeteilteZeile), geteiltVorne, geteiltHinten);
    if (offeneAnfuehrungen > 0)
        zeilen << QStringLiteral("Zeile %1: Ein Anführungszeichen wird nicht geschlossen; die Zeile ist so "
                                 "gelesen, wie sie steht.")
                          .arg(zahltext::ganz(ersteOffeneAnfuehrung)) +
                      (offeneAnfuehrungen > 1
                           ? QStringLiteral(" Insgesamt %1-mal.").arg(zahltext::ganz(offeneAnfuehrungen))
                           : QString());
    if (uebergangen > 0) {
        zeilen << QStringLiteral("Übergangene Zeilen:");
        for (const UebergangeneZeile& u : ersteUebergangene)
            zeilen << QStringLiteral("Zeile %1: %2").arg(zahltext::ganz(u.zeile), grundText(u));
        if (uebergangen > ersteUebergangene.size())
            zeilen << QStringLiteral("… und %1 weitere")
                          .arg(zahltext::ganz(uebergangen - ersteUebergangene.size()));
    }
    return zeilen.join(u'\n');
}

QString ImportZusammenfassung::nichtsBrauchbarText() const {
    QString text = QStringLiteral("Keine Zeile ergab einen Prüfling. Die Liste bleibt, wie sie war.\n\n");
    if (uebergangen == 0)
        text += QStringLiteral("Nach den Titelzeilen steht keine Zeile mehr.");
    const QString einzeln = uebergangeneText();
    if (!einzeln.isEmpty())
        text += (uebergangen == 0 ? QStringLiteral("\n") : QString()) + einzeln;
    return text;
}
