// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zip.h"

#include "Dateifehler.h"
#include "Fortschritt.h"
#include "Meldungsfehler.h"
#include "Tabelle.h"
#include "Zahltext.h"

#include <QFile>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace tabelle {

// The opened file as libzip's source of bytes.
struct Archiv::Quelle {
    QFile datei;
    zip_error_t fehler;
};

namespace {

zip_int64_t scheitert(Archiv::Quelle& q, int code) {
    zip_error_set(&q.fehler, code, 0);
    return -1;
}

// libzip's callback for a read-only source on the opened file.
zip_int64_t quelle(void* nutzer, void* daten, zip_uint64_t laenge, zip_source_cmd_t befehl) {
    auto& q = *static_cast<Archiv::Quelle*>(nutzer);
    QFile& f = q.datei;
    switch (befehl) {
    case ZIP_SOURCE_OPEN:
        return f.seek(0) ? 0 : scheitert(q, ZIP_ER_SEEK);
    case ZIP_SOURCE_READ: {
        const auto hoechstens = static_cast<zip_uint64_t>(std::numeric_limits<qint64>::max());
        const qint64 n = f.read(static_cast<char*>(daten), static_cast<qint64>(std::min(laenge, hoechstens)));
        return n >= 0 ? n : scheitert(q, ZIP_ER_READ);
    }
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        if (laenge < sizeof(zip_stat_t))
            return scheitert(q, ZIP_ER_INVAL);
        auto* st = static_cast<zip_stat_t*>(daten);
        zip_stat_init(st);
        st->size = static_cast<zip_uint64_t>(f.size());
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&q.fehler, daten, laenge);
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t ziel =
            zip_source_seek_compute_offset(static_cast<zip_uint64_t>(f.pos()),
                                           static_cast<zip_uint64_t>(f.size()), daten, laenge, &q.fehler);
        if (ziel < 0)
            return -1;
        return f.seek(ziel) ? 0 : scheitert(q, ZIP_ER_SEEK);
    }
    case ZIP_SOURCE_TELL:
        return f.pos();
    case ZIP_SOURCE_ACCEPT_EMPTY:
        // An empty file is no archive rather than an empty one.
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS,
                                              ZIP_SOURCE_ACCEPT_EMPTY, -1);
    default:
        return scheitert(q, ZIP_ER_OPNOTSUPP);
    }
}

// True when the opened file is an OLE compound file that holds the stream "EncryptedPackage",
// as Office saves a workbook with a password. Its directory may lie anywhere, so the file is
// searched for the stream's name in UTF-16.
bool istVerschluesselt(QFile& datei) {
    static const QByteArray kKennung("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray kName =
        QByteArray::fromRawData(reinterpret_cast<const char*>(u"EncryptedPackage"), 2 * 16);
    if (!datei.seek(0) || datei.read(8) != kKennung)
        return false;
    constexpr qint64 kBlock = 1024 * 1024;
    QByteArray rest;
    for (qint64 gelesen = 0; gelesen < kEintragHoechstens;) {
        const QByteArray block = datei.read(kBlock);
        if (block.isEmpty())
            return false;
        gelesen += block.size();
        rest += block;
        if (rest.contains(kName))
            return true;
        rest = rest.right(kName.size());
        fortschritt::pruefe();
    }
    return false;
}

} // namespace

QString verschluesseltText() {
    return QStringLiteral(
        "Die Datei ist verschlüsselt (mit einem Kennwort geschützt); speichern Sie sie ohne "
        "Kennwort und lesen Sie sie dann ein");
}

void kaputt(const QString& pfad, const QString& grund) {
    throw Meldungsfehler(
        QStringLiteral("Die Tabelle kann nicht gelesen werden: %1. Die Liste bleibt, wie sie war.")
            .arg(grund),
        pfad);
}

Archiv::Archiv(const QString& pfad) : m_pfad(pfad), m_quelle(std::make_unique<Quelle>()) {
    QFile& datei = m_quelle->datei;
    datei.setFileName(pfad);
    errno = 0;
    if (!datei.open(QIODevice::ReadOnly))
        fehler::wirfDateifehler(datei, errno);
    // A pipe or a device can't be searched from its end for the archive's directory.
    if (datei.isSequential())
        kaputt(pfad, QStringLiteral("Die Datei ist kein gültiges ZIP-Archiv"));
    zip_error_init(&m_quelle->fehler);
    zip_source_t* q = zip_source_function_create(quelle, m_quelle.get(), nullptr);
    m_zip = q ? zip_open_from_source(q, ZIP_RDONLY, nullptr) : nullptr;
    if (!m_zip) {
        // Unless the archive took it, the source is still ours.
        zip_source_free(q);
        zip_error_fini(&m_quelle->fehler);
        if (istVerschluesselt(datei))
            kaputt(pfad, verschluesseltText());
        kaputt(pfad, QStringLiteral("Die Datei ist kein gültiges ZIP-Archiv"));
    }
}

Archiv::~Archiv() {
    // Before the source's file goes.
    zip_discard(m_zip);
    zip_error_fini(&m_quelle->fehler);
}

bool Archiv::hat(const QString& name) const {
    return zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
}

ZipEintrag::ZipEintrag(const Archiv& archiv, const QString& name) : m_archiv(archiv), m_name(name) {
    m_datei = zip_fopen(archiv.m_zip, name.toUtf8().constData(), 0);
    if (!m_datei)
        kaputt(archiv.pfad(), QStringLiteral("Der Teil „%1“ fehlt").arg(name));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archiv.m_zip, name.toUtf8().constData(), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
        m_groesse = static_cast<qint64>(std::min<zip_uint64_t>(st.size, kEintragHoechstens));
}

ZipEintrag::~ZipEintrag() {
    zip_fclose(m_datei);
}

qint64 ZipEintrag::lies(char* puffer, qint64 groesse) {
    const zip_int64_t n = zip_fread(m_datei, puffer, static_cast<zip_uint64_t>(groesse));
    if (n < 0)
        kaputt(m_archiv.pfad(), QStringLiteral("Der Teil „%1“ ist beschädigt").arg(m_name));
    m_gelesen += n;
    if (m_gelesen > kEintragHoechstens)
        kaputt(m_archiv.pfad(), QStringLiteral("Der Teil „%1“ ist entpackt größer als %2 MB")
                                    .arg(m_name, zahltext::ganz(kEintragHoechstens >> 20)));
    return n;
}

} // namespace tabelle
