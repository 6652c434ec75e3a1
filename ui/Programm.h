#pragma once
// The program's windows, created once each in their fixed order and destroyed together.
// Destroying a Programm is the program's end (dialogs that keep state save it then);
// tests create one anew to simulate a restart.

#include <memory>

class THauptformular;

class Programm {
public:
    Programm();
    ~Programm();
    Programm(const Programm&) = delete;
    Programm& operator=(const Programm&) = delete;

    THauptformular* Hauptformular() const { return m_haupt.get(); }
    void zeige();

private:
    std::unique_ptr<THauptformular> m_haupt;
};

// Application start-up common to the program and its UI tests: title, German Qt catalogue.
namespace anwendung {
void einrichten();
}
