#include "Ansi.h"

#include <array>

namespace {
// 0x80..0x9F; the five unassigned codes map to the C1 controls, as Windows does.
constexpr std::array<char16_t, 32> kObererBereich = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ausZeichen(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kObererBereich.size(); ++i)
        if (kObererBereich[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

namespace ansi {

QString zuText(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        ziel[i] = (b >= 0x80 && b < 0xA0) ? QChar(kObererBereich[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

QByteArray ausText(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        bytes.append(ausZeichen(c));
    }
    return bytes;
}

} // namespace ansi
