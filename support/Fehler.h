// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own errors. A command that fails throws one; the general error report
// (ui/Fehlerbericht) shows its German text and the program goes on.

#include <QString>
#include <exception>

class Fehler : public std::exception {
public:
    explicit Fehler(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    // A file error: the run-time's text, and the file's full path on a second line below it.
    Fehler(const QString& text, const QString& pfad);

    const QString& text() const noexcept { return m_text; }
    // The file a file error names; empty for every other error.
    const QString& pfad() const noexcept { return m_pfad; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QString m_pfad;
    QByteArray m_utf8;
};

namespace fehler {
inline const QString Bereichspruefung = QStringLiteral("Fehler bei Bereichsprüfung");
inline const QString DivisionDurchNull = QStringLiteral("Gleitkommadivision durch Null");
inline const QString UngueltigeOperation = QStringLiteral("Ungültige Gleitkommaoperation");
inline const QString Ueberlauf = QStringLiteral("Gleitkommaüberlauf");
inline const QString HinterDateiende = QStringLiteral("Versuch hinter dem Dateiende zu lesen");

// Ends the command; the general error report shows `text` (the run-time's and the system's
// errors). For a message the program words itself use abbruchMitFehlerbox (Meldungsfehler.h).
[[noreturn]] inline void abbruchMitFehlerbericht(const QString& text) {
    throw Fehler(text);
}

// German text for an operating system error number (errno), as the run-time library words it;
// "E/A-Fehler %d" for a number without a text of its own.
QString ausErrno(int fehlernummer);
[[noreturn]] void wirfErrno(int fehlernummer);
// The same as a file error naming `pfad`.
[[noreturn]] void wirfErrno(int fehlernummer, const QString& pfad);

// "text\n/full/path/of/file", the path absolute and in the platform's separators.
QString mitPfad(const QString& text, const QString& pfad);
} // namespace fehler
