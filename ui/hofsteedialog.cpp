// SPDX-License-Identifier: GPL-3.0-or-later
#include "hofsteedialog.h"

#include "EnhEdit.h"
#include "Fehler.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Meldungsfehler.h"
#include "Steuerelemente.h"
#include "Zahltext.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
const QColor kKurvenfarbe(0, 64, 128);
const QColor kDiagonalenfarbe(192, 0, 0);

// Labels at 1, 2 or 5 times a power of ten, at most `schritte` steps, written as the program
// writes numbers (Qt's own axis labels would use printf formats).
void beschrifte(QCategoryAxis* achse, double von, double bis, int schritte) {
    for (const QString& l : achse->categoriesLabels())
        achse->remove(l);
    const double spanne = bis - von;
    double schritt = std::pow(10.0, std::floor(std::log10(spanne / schritte)));
    for (double faktor : {1.0, 2.0, 5.0, 10.0})
        if (spanne / (schritt * faktor) <= schritte) {
            schritt *= faktor;
            break;
        }
    achse->setStartValue(von - schritt); // the first label may stand on von itself
    // Counted, not stepped by ++i: beyond 2^53 steps (a score of 4e15 and a range of one point)
    // ++i changes nothing. Steps that round to one value or text the axis refuses itself.
    const double erster = std::ceil(von / schritt);
    for (int k = 0; k <= schritte + 1; ++k) {
        const double wert = (erster + k) * schritt + 0.0; // no "-0"
        if (wert > bis)
            break;
        achse->append(zahltext::kurz(wert), wert);
    }
    achse->setRange(von, bis);
}

QLineSeries* linie(QChart* chart, const QString& name, const QPen& stift) {
    auto* s = new QLineSeries;
    s->setName(name);
    s->setPen(stift);
    chart->addSeries(s);
    return s;
}
} // namespace

THofsteedialog::THofsteedialog(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("hofsteedialog"));
    setWindowTitle(QStringLiteral("Hofstee-Verfahren"));
    setFont(geometrie::designSchrift());
    setSizeGripEnabled(true);
    resize(geometrie::groesse(620, 560));

    auto feld = [this](const QString& name, long double wert) {
        TEnhancedEdit* f =
            steuerelemente::zahlfeld(this, name, 0, 0, 56, 24, false, 1, TFloatFormat::ffGeneral, wert);
        f->setFixedWidth(geometrie::px(56));
        connect(f, &TEnhancedEdit::geaendert, this, [this] { neuBerechnen(); });
        return f;
    };
    minpunkte = feld(QStringLiteral("minpunkte"), 0);
    maxpunkte = feld(QStringLiteral("maxpunkte"), 0);
    minquote = feld(QStringLiteral("minquote"), 0);
    maxquote = feld(QStringLiteral("maxquote"), 0);

    auto* urteile = new QGridLayout;
    auto zeile = [&](int z, const QString& text, TEnhancedEdit* von, TEnhancedEdit* bis,
                     const QString& einheit) {
        urteile->addWidget(new QLabel(text, this), z, 0);
        urteile->addWidget(new QLabel(QStringLiteral("niedrigste:"), this), z, 1);
        urteile->addWidget(von, z, 2);
        urteile->addWidget(new QLabel(QStringLiteral("höchste:"), this), z, 3);
        urteile->addWidget(bis, z, 4);
        urteile->addWidget(new QLabel(einheit, this), z, 5);
    };
    zeile(0, QStringLiteral("Annehmbare Bestehensgrenze"), minpunkte, maxpunkte, QStringLiteral("Punkte"));
    zeile(1, QStringLiteral("Annehmbare Durchfallquote"), minquote, maxquote, QStringLiteral("%"));
    urteile->setColumnStretch(6, 1);

    m_chart = new QChart;
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setDropShadowEnabled(false);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setFont(geometrie::designSchrift());
    m_kurve = linie(m_chart, QStringLiteral("Durchfallkurve"), QPen(kKurvenfarbe, 2));
    m_rechteck = linie(m_chart, QStringLiteral("Rechteck"), QPen(Qt::gray, 1, Qt::DashLine));
    m_diagonale = linie(m_chart, QStringLiteral("Diagonale"), QPen(kDiagonalenfarbe, 1.5));
    m_schnitt = new QScatterSeries;
    m_schnitt->setName(QStringLiteral("Schnittpunkt"));
    m_schnitt->setMarkerSize(10);
    m_schnitt->setColor(kDiagonalenfarbe);
    m_chart->addSeries(m_schnitt);

    m_achseX = new QCategoryAxis;
    m_achseX->setTitleText(QStringLiteral("Bestehensgrenze (Punkte)"));
    m_achseY = new QCategoryAxis;
    m_achseY->setTitleText(QStringLiteral("Durchfallquote (%)"));
    for (QCategoryAxis* a : {m_achseX, m_achseY}) {
        a->setLabelsFont(geometrie::designSchrift());
        a->setTitleFont(geometrie::designSchrift());
        a->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    }
    m_chart->addAxis(m_achseX, Qt::AlignBottom);
    m_chart->addAxis(m_achseY, Qt::AlignLeft);
    for (QAbstractSeries* s : m_chart->series()) {
        s->attachAxis(m_achseX);
        s->attachAxis(m_achseY);
    }
    // Fewer labels upright: a category shorter than its label's height shows only dots.
    beschrifte(m_achseY, 0, 100, 5);

    Chart1 = new QChartView(m_chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setMinimumSize(geometrie::groesse(360, 240));

    erg = new QLabel(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->setWordWrap(true);

    helpbut = steuerelemente::knopf(this, QStringLiteral("helpbut"), QStringLiteral("Hilfe"),
                                    QStringLiteral("knopf_hilfe"), 0, 0, 90, 30);
    uebernehmenbut =
        steuerelemente::knopf(this, QStringLiteral("uebernehmenbut"), QStringLiteral("Übernehmen"),
                              QStringLiteral("knopf_ok"), 0, 0, 110, 30);
    uebernehmenbut->setDefault(true);
    cancelbut = steuerelemente::knopf(this, QStringLiteral("cancelbut"), QStringLiteral("Abbrechen"),
                                      QStringLiteral("knopf_abbrechen"), 0, 0, 96, 30);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(uebernehmenbut);
    knoepfe->addWidget(cancelbut);
    knoepfe->addStretch(1);
    knoepfe->addWidget(helpbut);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(urteile);
    layout->addWidget(Chart1, 1);
    layout->addWidget(erg);
    layout->addLayout(knoepfe);

    steuerelemente::tabReihenfolge(
        {minpunkte, maxpunkte, minquote, maxquote, uebernehmenbut, cancelbut, helpbut});
    minpunkte->setFocus();

    Fehlerbericht::verbinde(uebernehmenbut, &QPushButton::clicked, this, [this] { uebernehmenbutClick(); });
    connect(cancelbut, &QPushButton::clicked, this, &QDialog::reject);
    Fehlerbericht::verbinde(helpbut, &QPushButton::clicked, this, [] { hilfe::zeige(510); });
}

void THofsteedialog::setzeListe(const Notenliste& liste) {
    m_daten = Durchfallkurve::ausListe(liste);
    neuBerechnen();
}

void THofsteedialog::setzeUrteile(const HofsteeUrteile& u) {
    minpunkte->setValue(u.minPunkte);
    maxpunkte->setValue(u.maxPunkte);
    minquote->setValue(u.minQuote);
    maxquote->setValue(u.maxQuote);
    neuBerechnen();
}

HofsteeUrteile THofsteedialog::urteile() const {
    return {minpunkte->Value(), maxpunkte->Value(), minquote->Value(), maxquote->Value()};
}

void THofsteedialog::neuBerechnen() {
    const HofsteeUrteile u = urteile();
    m_wert.reset();
    m_schnitt->clear();
    try {
        const HofsteeErgebnis e = hofsteeGrenze(m_daten, u);
        m_wert = hofsteeUebernahmewert(m_daten, e);
        m_schnitt->append(static_cast<double>(e.punkte), static_cast<double>(e.hoehe));
        erg->setText(QStringLiteral("Bestanden ab %1 Punkten: %2 von %3 fallen durch (%4 %).")
                         .arg(zahltext::kurz(static_cast<double>(*m_wert)), zahltext::ganz(e.durchgefallen),
                              zahltext::ganz(m_daten.anzahl()),
                              zahltext::fest(static_cast<double>(e.quote), 1)));
    } catch (const Fehler& f) {
        erg->setText(f.text());
    }
    zeichneKurve();
}

void THofsteedialog::zeichneKurve() {
    const HofsteeUrteile u = urteile();
    const auto& stufen = m_daten.stufen();
    double von = static_cast<double>(u.minPunkte), bis = static_cast<double>(u.maxPunkte);
    if (!stufen.empty()) {
        von = std::min(von, stufen.front().punkte);
        bis = std::max(bis, stufen.back().punkte);
    }
    if (bis <= von)
        bis = von + 1;
    const double rand = (bis - von) / 20;
    von -= rand;
    bis += rand;
    // Scores so large that a point more makes no difference leave no room to draw in.
    if (!std::isfinite(von) || !std::isfinite(bis) || !(bis > von))
        von = 0, bis = 1;

    // The curve is left-continuous: at a score the rate is still that of the scores below.
    QList<QPointF> kurve{{von, 0}};
    for (const HofsteeStufe& s : stufen) {
        kurve << QPointF(s.punkte, static_cast<double>(s.vorher))
              << QPointF(s.punkte, static_cast<double>(s.nachher));
    }
    kurve << QPointF(bis, stufen.empty() ? 0.0 : 100.0);
    m_kurve->replace(kurve);

    const double kMin = static_cast<double>(u.minPunkte), kMax = static_cast<double>(u.maxPunkte);
    const double fMin = static_cast<double>(u.minQuote), fMax = static_cast<double>(u.maxQuote);
    if (kMin < kMax && fMin < fMax) {
        m_rechteck->replace({{kMin, fMin}, {kMax, fMin}, {kMax, fMax}, {kMin, fMax}, {kMin, fMin}});
        m_diagonale->replace({{kMin, fMax}, {kMax, fMin}});
    } else {
        m_rechteck->clear();
        m_diagonale->clear();
    }
    beschrifte(m_achseX, von, bis, 10);
}

void THofsteedialog::uebernehmenbutClick() {
    neuBerechnen();
    if (!m_wert)
        fehler::abbruchMitFehlerbox(erg->text());
    accept();
}
