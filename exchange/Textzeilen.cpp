// SPDX-License-Identifier: GPL-3.0-or-later
#include "Textzeilen.h"

#include "Ansi.h"
#include "Dateifehler.h"

#include <algorithm>
#include <cerrno>

namespace textzeilen {

namespace {
qsizetype g_testblock = 0;
} // namespace

const std::array<char16_t, 256>& ansiTabelle() {
    static const std::array<char16_t, 256> tabelle = [] {
        QByteArray alle(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            alle[i] = static_cast<char>(i);
        const QString text = ansi::zuText(alle);
        std::array<char16_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = text[i].unicode();
        return t;
    }();
    return tabelle;
}

QStringView dekodiere(QByteArrayView zeile, bool utf8, std::u16string& puffer) {
    const auto* b = reinterpret_cast<const unsigned char*>(zeile.data());
    const auto n = static_cast<std::size_t>(zeile.size());
    if (!utf8) {
        const auto& t = ansiTabelle();
        puffer.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            puffer[i] = t[b[i]];
        return QStringView(puffer);
    }
    if (std::all_of(b, b + n, [](unsigned char c) { return c < 0x80; })) {
        puffer.assign(b, b + n);
        return QStringView(puffer);
    }
    const QString text = QString::fromUtf8(zeile);
    puffer.assign(text.utf16(), text.utf16() + text.size());
    return QStringView(puffer);
}

Zeilentext Zeilentext::ausBytes(QByteArray bytes) {
    Zeilentext t;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    const ansi::Marke marke = ansi::markeVon(bytes);
    if (marke.kodierung == ansi::Kodierung::Utf16LE || marke.kodierung == ansi::Kodierung::Utf16BE)
        return ausText(ansi::textAusDatei(bytes));
    t.m_anfang = marke.laenge;
    // A NUL ends the text; in both byte encodings it is a zero byte.
    const void* nul = std::memchr(b + t.m_anfang, 0, static_cast<std::size_t>(n - t.m_anfang));
    t.m_ende = nul ? static_cast<const unsigned char*>(nul) - b : n;
    // Without a mark the text before the NUL decides: valid UTF-8 with umlauts is UTF-8.
    t.m_utf8 = marke.kodierung == ansi::Kodierung::Utf8 ||
               ansi::istUtf8MitNichtAscii(QByteArrayView(bytes.constData(), t.m_ende));
    t.m_bytes = std::move(bytes);
    return t;
}

Zeilentext Zeilentext::ausText(QString text) {
    Zeilentext t;
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    t.m_text = std::move(text);
    t.m_istText = true;
    return t;
}

void setzeTestblock(qsizetype bytes) {
    g_testblock = bytes;
}

Dateibloecke::Dateibloecke(const QString& pfad) : m_datei(pfad) {
    errno = 0;
    if (!m_datei.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        fehler::wirfDateifehler(m_datei, errno);
}

qsizetype Dateibloecke::block() const {
    return g_testblock > 0 ? g_testblock : kBlock;
}

qsizetype Dateibloecke::lies(char* ziel, qsizetype n) {
    qsizetype da = 0;
    while (da < n) {
        errno = 0;
        const qint64 r = m_datei.read(ziel + da, n - da);
        if (r < 0)
            fehler::wirfDateifehler(m_datei, errno);
        if (r == 0)
            break;
        da += r;
    }
    return da;
}

void Dateibloecke::geheZu(qint64 pos) {
    errno = 0;
    if (!m_datei.seek(pos))
        fehler::wirfDateifehler(m_datei, errno);
}

QStringList alsListe(const Zeilentext& text) {
    QStringList zeilen;
    text.fuerJedeZeile([&zeilen](qsizetype, QStringView z) { zeilen.append(z.toString()); });
    return zeilen;
}

} // namespace textzeilen
