// SPDX-License-Identifier: GPL-3.0-or-later
#include "XlsxExport.h"

#include "Dateifehler.h"
#include "Fortschritt.h"
#include "Meldungsfehler.h"
#include "Tabelle.h"
#include "XmlHilfen.h"
#include "Zahltext.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>
#include <xlsxwriter.h>

#include <clocale>
#include <cmath>
#include <locale.h>
#include <new>

namespace {

[[noreturn]] void schreibfehler(const QString& pfad, lxw_error fehler) {
    throw Meldungsfehler(QStringLiteral("Die Excel-Arbeitsmappe kann nicht geschrieben werden (Fehler %1 der "
                                        "Bibliothek libxlsxwriter).")
                             .arg(zahltext::ganz(static_cast<int>(fehler))),
                         pfad);
}

// The library formats numbers with the C library's printf, which follows LC_NUMERIC: a German
// locale would write "52,5", which spreadsheets read as 52. While it exists, this thread runs
// in the C locale; the one before comes back on every way out.
class CGebietsschema {
public:
    CGebietsschema() : m_c(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
        if (!m_c)
            throw std::bad_alloc();
        m_vorher = uselocale(m_c);
    }
    ~CGebietsschema() {
        uselocale(m_vorher);
        freelocale(m_c);
    }
    CGebietsschema(const CGebietsschema&) = delete;
    CGebietsschema& operator=(const CGebietsschema&) = delete;

private:
    locale_t m_c;
    locale_t m_vorher = nullptr;
};

// Closes the workbook on every way out; workbook_close also frees it.
struct Mappe {
    lxw_workbook* w = nullptr;
    ~Mappe() {
        if (w)
            workbook_close(w);
    }
    lxw_error schliesse() {
        const lxw_error e = workbook_close(w);
        w = nullptr;
        return e;
    }
};

} // namespace

QString leereWerteText(qsizetype anzahl) {
    if (anzahl <= 0)
        return {};
    if (anzahl == 1)
        return QStringLiteral("1 Wert ist keine endliche Zahl; seine Zelle in der Arbeitsmappe bleibt leer.");
    return QStringLiteral(
               "%1 Werte sind keine endlichen Zahlen; ihre Zellen in der Arbeitsmappe bleiben leer.")
        .arg(zahltext::ganz(anzahl));
}

qsizetype exportiereXlsx(const QString& pfad, const Notenliste& liste) {
    if (liste.size() > tabelle::kZeilenHoechstens)
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Eine Excel-Arbeitsmappe fasst höchstens %1 Zeilen; die Liste hat %2.")
                .arg(zahltext::ganz(tabelle::kZeilenHoechstens), zahltext::ganz(liste.size())));
    // The library writes to a file name only: first a private file, then its bytes through
    // QSaveFile as the CSV export does, so a failure never leaves half a workbook at the target.
    QTemporaryFile zwischen(QDir::tempPath() + QStringLiteral("/skalora-XXXXXX.xlsx"));
    errno = 0;
    if (!zwischen.open())
        fehler::wirfDateifehler(zwischen, errno);
    const QString zwischenName = zwischen.fileName();
    zwischen.close();
    qsizetype leer = 0;
    {
        // Before the workbook, so that its closing on a failure runs in the C locale too.
        const CGebietsschema c;
        Mappe mappe;
        mappe.w = workbook_new(QFile::encodeName(zwischenName).constData());
        if (!mappe.w)
            schreibfehler(pfad, LXW_ERROR_CREATING_XLSX_FILE);
        lxw_worksheet* blatt = workbook_add_worksheet(mappe.w, "Noten");
        lxw_format* zahl = workbook_add_format(mappe.w);
        if (!blatt || !zahl)
            schreibfehler(pfad, LXW_ERROR_MEMORY_MALLOC_FAILED);
        format_set_num_format(zahl, "0.0");
        // A number that is none stays an empty cell; the caller tells how many.
        const auto schreibeZahl = [&](lxw_row_t zeile, lxw_col_t spalte, double wert) {
            if (std::isfinite(wert))
                return worksheet_write_number(blatt, zeile, spalte, wert, zahl);
            ++leer;
            return LXW_NO_ERROR;
        };
        lxw_row_t zeile = 0;
        for (const TNotenEintrag& e : liste) {
            if (zeile % 4096 == 0)
                fortschritt::melde(zeile, liste.size());
            // A string cell is never a formula, so names need no apostrophe here.
            const QByteArray name = tabelle::verschluessele(e.nameText()).toUtf8();
            lxw_error f = LXW_NO_ERROR;
            if (!name.isEmpty())
                f = worksheet_write_string(blatt, zeile, 0, name.constData(), nullptr);
            if (f == LXW_NO_ERROR)
                f = schreibeZahl(zeile, 1, e.punkte);
            if (f == LXW_NO_ERROR)
                f = schreibeZahl(zeile, 2, e.note);
            if (f != LXW_NO_ERROR)
                schreibfehler(pfad, f);
            ++zeile;
        }
        if (const lxw_error f = mappe.schliesse(); f != LXW_NO_ERROR)
            schreibfehler(pfad, f);
    }
    const QByteArray bytes = fehler::leseDatei(zwischenName);
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    fehler::schreibeAlles(datei, bytes);
    fehler::schliesseAb(datei);
    return leer;
}
