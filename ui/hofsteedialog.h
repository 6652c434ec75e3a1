// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Hofstee-Verfahren": the four judgements, the list's failure curve with the judgement
// rectangle and its diagonal, and the pass points where the diagonal meets the curve.
// Opened modally by the grade assignment dialog; "Übernehmen" closes it with the result OK
// once there are pass points to take.

#include "Hofstee.h"

#include <QDialog>
#include <optional>

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class TEnhancedEdit;

class THofsteedialog : public QDialog {
    Q_OBJECT
public:
    explicit THofsteedialog(QWidget* eltern = nullptr);

    // The list whose curve is drawn. Throws Fehler for a score that is no finite number.
    void setzeListe(const Notenliste& liste);
    void setzeUrteile(const HofsteeUrteile& u);
    HofsteeUrteile urteile() const;
    // The pass points "Übernehmen" takes, if the judgements give any.
    std::optional<long double> wert() const { return m_wert; }

    TEnhancedEdit *minpunkte, *maxpunkte, *minquote, *maxquote;
    QChartView* Chart1;
    QLabel* erg;
    QPushButton *uebernehmenbut, *cancelbut, *helpbut;

    // What the chart shows (for tests).
    QLineSeries* kurvenSerie() const { return m_kurve; }
    QScatterSeries* schnittSerie() const { return m_schnitt; }

private:
    void neuBerechnen();
    void zeichneKurve();
    void uebernehmenbutClick();

    Durchfallkurve m_daten{{}};
    std::optional<long double> m_wert;
    QChart* m_chart;
    QLineSeries *m_kurve, *m_rechteck, *m_diagonale;
    QScatterSeries* m_schnitt;
    QCategoryAxis *m_achseX, *m_achseY;
};
