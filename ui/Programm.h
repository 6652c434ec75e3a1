// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows, created once each in their fixed order and destroyed together.
// Destroying a Programm is the program's end (dialogs that keep state save it then);
// tests create one anew to simulate a restart.

#include <memory>

class THauptformular;
class TChartform;
class TErgebnis;
class TKlassenauswertungsform;
class Teinstellungsdialog;
class Tnotenvergabeform;
class TImporteinstellungen;
class Tinfodialog;
class TGrenzfaelleform;
namespace fensterlage {
class Waechter;
}
namespace tasten {
class Weiche;
}

class Programm {
public:
    Programm();
    ~Programm();
    Programm(const Programm&) = delete;
    Programm& operator=(const Programm&) = delete;

    THauptformular* Hauptformular() const { return m_haupt.get(); }
    TChartform* Chartform() const { return m_chart.get(); }
    TErgebnis* Ergebnis() const { return m_ergebnis.get(); }
    Teinstellungsdialog* einstellungsdialog() const { return m_einstellungen.get(); }
    TKlassenauswertungsform* Klassenauswertungsform() const { return m_klassen.get(); }
    Tnotenvergabeform* notenvergabeform() const { return m_notenvergabe.get(); }
    TImporteinstellungen* Importeinstellungen() const { return m_import.get(); }
    TGrenzfaelleform* Grenzfaelleform() const { return m_grenzfaelle.get(); }
    void zeige();

private:
    std::unique_ptr<fensterlage::Waechter> m_lage;
    std::unique_ptr<THauptformular> m_haupt;
    std::unique_ptr<TChartform> m_chart;
    std::unique_ptr<TErgebnis> m_ergebnis;
    std::unique_ptr<Teinstellungsdialog> m_einstellungen;
    std::unique_ptr<TKlassenauswertungsform> m_klassen;
    std::unique_ptr<Tinfodialog> m_info; // never shown; its creation settles the about boxes' language
    std::unique_ptr<Tnotenvergabeform> m_notenvergabe;
    std::unique_ptr<TImporteinstellungen> m_import;
    std::unique_ptr<TGrenzfaelleform> m_grenzfaelle;
    std::unique_ptr<tasten::Weiche> m_tasten;
};

// Application start-up common to the program and its UI tests: per-user folder, title,
// locale, German Qt catalogue. Runs before any window exists.
namespace anwendung {
void einrichten();
}
