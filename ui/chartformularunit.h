// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The histogram window: one bar chart whose bars the histogram run fills. Created once,
// shown modeless; the report takes the chart as a picture from it.

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <vector>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;

class TChartform : public QWidget {
    Q_OBJECT
public:
    explicit TChartform(QWidget* eltern = nullptr);

    void setzeTitel(const QString& titel);
    // Removes all bars.
    void leeren();
    // One bar at the next position, labelled under it.
    void fuegeHinzu(int wert, const QString& beschriftung);
    // Shows the window, or brings it forward.
    void zeige();

    // The chart's whole area as a picture on white, drawn without showing the window again.
    QImage bild();

    // What the chart shows (for tests and the report).
    QString titel() const;
    QStringList beschriftungen() const;
    std::vector<int> werte() const;

    QChartView* Chart1;
    QBarSeries* Series1;

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    // The window has no buttons; Esc closes it as it does the dialogs.
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    void FormCreate();
    // Labels that don't fit side by side stand upright, so none is cut.
    void beschriftungAusrichten();
    // Whole-number steps on the value axis, written as the program writes numbers.
    void werteAchseAnpassen();

    QChart* m_chart;
    QBarSet* m_balken;
    QBarCategoryAxis* m_achseX;
    QCategoryAxis* m_achseY;
};
