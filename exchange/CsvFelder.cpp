// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvFelder.h"

#include "Ansi.h"
#include "Fehler.h"
#include "Import.h"
#include "Meldungsfehler.h"
#include "Textzeilen.h"
#include "Zahltext.h"

#include <QStringList>

#include <cstdint>
#include <cstring>
#include <limits>

namespace csv {

QString alsText(std::string_view bytes) {
    return ansi::zuText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace csv

namespace {
const QString kKeinTrenner = QStringLiteral(
    "Kein Trennzeichen eingestellt. Bitte tragen Sie in den CSV Importeinstellungen ein Trennzeichen ein "
    "(z. B. ; oder #9 für den Tabulator).");
} // namespace

void Zerlegen(QStringList& felder, QStringView zeile, QChar trenner) {
    QStringList neu;
    csv::jedesFeld(zeile, trenner, [&neu](QStringView f) { neu.append(f.toString()); });
    felder.swap(neu);
}

QChar trennerAus(const QString& trennerText) {
    if (trennerText.isEmpty())
        fehler::abbruchMitFehlerbox(kKeinTrenner);
    if (trennerText.size() > 1 && trennerText[0] == u'#') {
        const QStringView rest = QStringView(trennerText).sliced(1);
        const auto code = zahltext::leseGanz(rest);
        if (!code || *code < std::numeric_limits<qint32>::min() || *code > std::numeric_limits<qint32>::max())
            fehler::abbruchMitFehlerbericht(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(rest));
        return QChar(static_cast<char16_t>(static_cast<quint32>(*code) & 0xFFFF));
    }
    return trennerText[0];
}
