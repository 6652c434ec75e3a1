// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ZIP container of a spreadsheet file. It is opened with QFile and libzip reads through
// that handle, so a missing or locked file gets the program's usual file error; its entries
// are unpacked in pieces with the unpacked size bounded.

#include <QString>
#include <QtGlobal>

#include <memory>

struct zip;
struct zip_file;

namespace tabelle {

// Raises the error for a spreadsheet file that can't be read, giving `grund`.
[[noreturn]] void kaputt(const QString& pfad, const QString& grund);

// The reason given for a package that is encrypted.
QString verschluesseltText();

class Archiv {
public:
    // A file that can't be opened raises the file error; one that is no ZIP archive, Fehler
    // (which names an encrypted Office file, a compound file holding an EncryptedPackage).
    explicit Archiv(const QString& pfad);
    ~Archiv();
    Archiv(const Archiv&) = delete;
    Archiv& operator=(const Archiv&) = delete;

    bool hat(const QString& name) const;
    const QString& pfad() const { return m_pfad; }

    struct Quelle;

private:
    friend class ZipEintrag;
    QString m_pfad;
    std::unique_ptr<Quelle> m_quelle;
    zip* m_zip = nullptr;
};

// One entry of the archive, unpacked as it is read. More than kEintragHoechstens unpacked
// bytes are refused, whatever the entry's header claims.
class ZipEintrag {
public:
    // A missing entry raises Fehler.
    ZipEintrag(const Archiv& archiv, const QString& name);
    ~ZipEintrag();
    ZipEintrag(const ZipEintrag&) = delete;
    ZipEintrag& operator=(const ZipEintrag&) = delete;

    // Up to `groesse` bytes into `puffer`; 0 at the end. A damaged entry raises Fehler.
    qint64 lies(char* puffer, qint64 groesse);
    // Unpacked bytes read so far, and the unpacked size the entry's header claims (for
    // progress only; 0 when unknown).
    qint64 gelesen() const { return m_gelesen; }
    qint64 groesse() const { return m_groesse; }

private:
    const Archiv& m_archiv;
    QString m_name;
    zip_file* m_datei = nullptr;
    qint64 m_gelesen = 0;
    qint64 m_groesse = 0;
};

} // namespace tabelle
