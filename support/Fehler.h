#pragma once
// The program's own errors. A command that fails throws one; the general error report
// (ui/Fehlerbericht) shows its German text and the program goes on.

#include <QString>
#include <exception>

class Fehler : public std::exception {
public:
    explicit Fehler(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

namespace fehler {
inline const QString Bereichspruefung = QStringLiteral("Fehler bei Bereichsprüfung");
inline const QString DivisionDurchNull = QStringLiteral("Gleitkommadivision durch Null");
inline const QString UngueltigeOperation = QStringLiteral("Ungültige Gleitkommaoperation");

[[noreturn]] inline void wirf(const QString& text) { throw Fehler(text); }

// German text for an operating system error number (errno), as the run-time library words it.
QString ausErrno(int fehlernummer);
[[noreturn]] void wirfErrno(int fehlernummer);
} // namespace fehler
