// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report's lines with their styles, held so that the report of ten million students fits
// beside its document: the students' lines are no texts at all, they are made from a shared
// copy of the list each time they are read; the other lines are kept in one byte each where
// they are Latin-1.

#include "Eintrag.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <vector>

enum class Stil { Normal, Fett, Unterstrichen, FettUnterstrichen };

struct Reportzeile {
    Stil stil = Stil::Normal;
    QString text;
    friend bool operator==(const Reportzeile&, const Reportzeile&) = default;
};

namespace report {
// A student's line without ECTS group, "%-30s: %.1f  %.1f" with name, points and grade.
QString einzelzeile(const TNotenEintrag& e);
// With the letter of the student's class, "%-30s %.1fP   %.1f:  %s"; 0 adds nothing.
QString einzelzeileEcts(const TNotenEintrag& e, char16_t ects);
} // namespace report

class Reportzeilen {
public:
    // Random access; a line is read as a value.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Reportzeile;
        using difference_type = std::ptrdiff_t;
        using reference = Reportzeile;
        using pointer = void;

        const_iterator() = default;
        const_iterator(const Reportzeilen* zeilen, std::size_t i) : m_zeilen(zeilen), m_i(i) {}
        Reportzeile operator*() const { return (*m_zeilen)[m_i]; }
        Reportzeile operator[](difference_type n) const { return *(*this + n); }
        const_iterator& operator++() { return ++m_i, *this; }
        const_iterator operator++(int) { return {m_zeilen, m_i++}; }
        const_iterator& operator--() { return --m_i, *this; }
        const_iterator operator--(int) { return {m_zeilen, m_i--}; }
        const_iterator& operator+=(difference_type n) {
            m_i = static_cast<std::size_t>(static_cast<difference_type>(m_i) + n);
            return *this;
        }
        const_iterator& operator-=(difference_type n) { return *this += -n; }
        friend const_iterator operator+(const_iterator a, difference_type n) { return a += n; }
        friend const_iterator operator+(difference_type n, const_iterator a) { return a += n; }
        friend const_iterator operator-(const_iterator a, difference_type n) { return a -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.m_i) - static_cast<difference_type>(b.m_i);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.m_i <=> b.m_i; }

    private:
        const Reportzeilen* m_zeilen = nullptr;
        std::size_t m_i = 0;
    };
    using value_type = Reportzeile;
    using size_type = std::size_t;

    Reportzeilen() = default;
    Reportzeilen(std::initializer_list<Reportzeile> zeilen);
    template <class It> Reportzeilen(It von, It bis) {
        for (; von != bis; ++von)
            push_back(*von);
    }

    void push_back(const Reportzeile& zeile);
    // One plain line per entry of `liste` (report::einzelzeile); the list is shared, not copied.
    void einzelzeilen(const Notenliste& liste);
    // One plain line per entry of `liste` named in `eintraege` (all, in order, when empty),
    // with the letter `ects[k]` for the k-th line (report::einzelzeileEcts).
    void einzelzeilenEcts(const Notenliste& liste, std::vector<qsizetype> eintraege,
                          std::vector<char16_t> ects);

    std::size_t size() const { return m_enden.empty() ? 0 : m_enden.back(); }
    bool empty() const { return size() == 0; }
    Reportzeile operator[](std::size_t i) const { return {stil(i), text(i)}; }
    // As operator[]; std::out_of_range beyond the end.
    Reportzeile at(std::size_t i) const;
    Stil stil(std::size_t i) const;
    QString text(std::size_t i) const;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const Reportzeilen& a, const Reportzeilen& b);

private:
    struct Abschnitt {
        // Written lines: their texts one after the other, Latin-1, or UTF-16 where a line
        // needs it; per line its end in bytes << 3 | UTF-16 << 2 | style.
        QByteArray texte;
        QList<quint64> enden;
        // Or the students' lines, made when read.
        bool einzeln = false;
        bool mitEcts = false;
        Notenliste liste;
        std::vector<qsizetype> eintraege;
        std::vector<char16_t> ects;

        std::size_t size() const;
    };
    // The section of line i, and i made relative to it.
    const Abschnitt& finde(std::size_t& i) const;
    void neuerAbschnitt(Abschnitt a);

    std::vector<Abschnitt> m_abschnitte;
    std::vector<std::size_t> m_enden; // lines up to the end of each section
};
