// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartformularunit.h"

#include "Geometrie.h"
#include "Zahltext.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QColor kBalkenfarbe(0, 64, 128);
} // namespace

TChartform::TChartform(QWidget* eltern) : QWidget(eltern, Qt::Window) {
    setObjectName(QStringLiteral("Chartform"));
    setWindowTitle(QStringLiteral("Histogramm"));
    setFont(geometrie::designSchrift());
    resize(geometrie::groesse(633, 328));
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().topLeft());

    m_chart = new QChart;
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setDropShadowEnabled(false);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->hide();
    m_chart->setTitle(QStringLiteral("TChart"));
    QFont titelSchrift = geometrie::designSchrift();
    titelSchrift.setPixelSize(std::max(1, geometrie::px(20)));
    m_chart->setTitleFont(titelSchrift);
    m_chart->setTitleBrush(Qt::black);

    Series1 = new QBarSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setName(QStringLiteral("Histogramm"));
    Series1->setLabelsVisible(false);
    m_balken = new QBarSet(QStringLiteral("Histogramm"));
    m_balken->setColor(kBalkenfarbe);
    m_balken->setBorderColor(kBalkenfarbe.darker(130));
    Series1->append(m_balken);
    m_chart->addSeries(Series1);

    m_achseX = new QBarCategoryAxis;
    m_achseX->setLabelsFont(geometrie::designSchrift());
    m_achseY = new QCategoryAxis;
    m_achseY->setLabelsFont(geometrie::designSchrift());
    m_achseY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_chart->addAxis(m_achseX, Qt::AlignBottom);
    m_chart->addAxis(m_achseY, Qt::AlignLeft);
    Series1->attachAxis(m_achseX);
    Series1->attachAxis(m_achseY);

    Chart1 = new QChartView(m_chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setBackgroundBrush(Qt::white);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Chart1);

    FormCreate();
}

void TChartform::FormCreate() {
    werteAchseAnpassen();
}

void TChartform::setzeTitel(const QString& titel) {
    m_chart->setTitle(titel);
}

void TChartform::leeren() {
    m_balken->remove(0, m_balken->count());
    m_achseX->clear();
    werteAchseAnpassen();
    beschriftungAusrichten();
}

void TChartform::fuegeHinzu(int wert, const QString& beschriftung) {
    m_balken->append(wert);
    m_achseX->append(beschriftung);
    werteAchseAnpassen();
    beschriftungAusrichten();
}

void TChartform::resizeEvent(QResizeEvent* ereignis) {
    QWidget::resizeEvent(ereignis);
    beschriftungAusrichten();
}

void TChartform::beschriftungAusrichten() {
    const QFontMetrics fm(m_achseX->labelsFont());
    int breiteste = 0;
    for (const QString& b : m_achseX->categories())
        breiteste = std::max(breiteste, fm.horizontalAdvance(b));
    const int anzahl = static_cast<int>(m_achseX->count());
    // Room per bar: the plot area once laid out, else the window less axis and margins.
    const double flaeche =
        m_chart->plotArea().width() > 0 ? m_chart->plotArea().width() : width() - geometrie::px(120);
    const int platz = anzahl > 0 ? static_cast<int>(flaeche / anzahl) : width();
    m_achseX->setLabelsAngle(breiteste + geometrie::px(24) > platz ? -90 : 0);
}

void TChartform::werteAchseAnpassen() {
    int hoechster = 0;
    for (int i = 0; i < m_balken->count(); ++i)
        hoechster = std::max(hoechster, static_cast<int>(m_balken->at(i)));
    // At most ten steps of 1, 2 or 5 times a power of ten, never less than 1.
    qint64 schritt = 1;
    for (qint64 basis = 1;; basis *= 10) {
        const qint64 kandidaten[] = {basis, 2 * basis, 5 * basis};
        const auto* passt = std::find_if(std::begin(kandidaten), std::end(kandidaten),
                                         [hoechster](qint64 s) { return hoechster <= 10 * s; });
        if (passt != std::end(kandidaten)) {
            schritt = *passt;
            break;
        }
    }
    const qint64 oben = std::max<qint64>(schritt, (hoechster + schritt - 1) / schritt * schritt);
    for (const QString& l : m_achseY->categoriesLabels())
        m_achseY->remove(l);
    m_achseY->setStartValue(-0.5 * static_cast<double>(schritt));
    for (qint64 v = 0; v <= oben; v += schritt)
        m_achseY->append(zahltext::ganz(v), static_cast<double>(v));
    m_achseY->setRange(0, static_cast<double>(oben));
}

void TChartform::zeige() {
    show();
    raise();
    activateWindow();
}

QImage TChartform::bild() {
    // The view has its size even while hidden; lay the chart out for it and draw the scene.
    const QSize groesse = Chart1->size().isEmpty() ? size() : Chart1->size();
    m_chart->resize(groesse);
    if (m_chart->layout())
        m_chart->layout()->activate();
    QImage bild(groesse, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    m_chart->scene()->render(&maler, QRectF(QPointF(0, 0), groesse), QRectF(QPointF(0, 0), groesse));
    return bild;
}

QString TChartform::titel() const {
    return m_chart->title();
}

QStringList TChartform::beschriftungen() const {
    return m_achseX->categories();
}

std::vector<int> TChartform::werte() const {
    std::vector<int> w;
    for (int i = 0; i < m_balken->count(); ++i)
        w.push_back(static_cast<int>(m_balken->at(i)));
    return w;
}

void TChartform::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(ereignis);
}
