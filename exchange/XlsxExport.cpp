// SPDX-License-Identifier: GPL-3.0-or-later
#include "XlsxExport.h"

#include "Dateifehler.h"
#include "Meldungsfehler.h"
#include "Tabelle.h"
#include "Zahltext.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>
#include <xlsxwriter.h>

namespace {

[[noreturn]] void schreibfehler(const QString& pfad, lxw_error fehler) {
    throw Meldungsfehler(QStringLiteral("Die Excel-Arbeitsmappe kann nicht geschrieben werden (Fehler %1 der "
                                        "Bibliothek libxlsxwriter).")
                             .arg(zahltext::ganz(static_cast<int>(fehler))),
                         pfad);
}

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

void exportiereXlsx(const QString& pfad, const Notenliste& liste) {
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
    {
        Mappe mappe;
        mappe.w = workbook_new(QFile::encodeName(zwischenName).constData());
        if (!mappe.w)
            schreibfehler(pfad, LXW_ERROR_CREATING_XLSX_FILE);
        lxw_worksheet* blatt = workbook_add_worksheet(mappe.w, "Noten");
        lxw_format* zahl = workbook_add_format(mappe.w);
        if (!blatt || !zahl)
            schreibfehler(pfad, LXW_ERROR_MEMORY_MALLOC_FAILED);
        format_set_num_format(zahl, "0.0");
        lxw_row_t zeile = 0;
        for (const TNotenEintrag& e : liste) {
            // A string cell is never a formula, so names need no apostrophe here.
            const QByteArray name = e.nameText().toUtf8();
            lxw_error f = LXW_NO_ERROR;
            if (!name.isEmpty())
                f = worksheet_write_string(blatt, zeile, 0, name.constData(), nullptr);
            if (f == LXW_NO_ERROR)
                f = worksheet_write_number(blatt, zeile, 1, e.punkte, zahl);
            if (f == LXW_NO_ERROR)
                f = worksheet_write_number(blatt, zeile, 2, e.note, zahl);
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
}
