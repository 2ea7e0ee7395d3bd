// Drawing primitives of the waveform preview: dimension arrows, axis arrows,
// the ground symbol, the harmonic bar chart and the QAM constellations.
#include <QFont>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include "WaveView/CWaveGreate.h"
#include "WaveView/psewave.h"
#include "param/sys_param.h"

void PseWave::DrawLine(QPainter* p, Qt::PenStyle style, const QColor& c, int x1, int y1, int x2, int y2)
{
    p->setPen(QPen(c, 1, style));
    p->drawLine(x1, y1, x2, y2);
}

void PseWave::DrawGround(QPainter* p, const QColor& c, int x, int y)
{
    const int w = ArrowSize.width();
    const int xs = x + w;
    p->setPen(QPen(c, 1));
    p->drawLine(x, y, xs, y);
    p->drawLine(xs, y, xs, y + 3);
    for (int k = 0; k < 3; ++k) {
        const int half = w / 2 - k;
        p->drawLine(xs - half, y + 3 + 3 * k, xs + half, y + 3 + 3 * k);
    }
}

// One arrow head with its bar. Pointing right: the bar across the shaft at
// the tip x, the shaft of the arrow's width ending there, and four strokes
// 2..5 pixels back from the tip with half-lengths 1..4.
void PseWave::DrawArrowsRight(QPainter* p, int x, int y)
{
    const int w = ArrowSize.width(), h = ArrowSize.height();
    p->drawLine(x, y - h / 2, x, y + h / 2);
    p->drawLine(x - w, y, x, y);
    for (int k = 0; k < 4; ++k)
        p->drawLine(x - 2 - k, y - 1 - k, x - 2 - k, y + 1 + k);
}

void PseWave::DrawArrowsLeft(QPainter* p, int x, int y)
{
    const int w = ArrowSize.width(), h = ArrowSize.height();
    p->drawLine(x, y - h / 2, x, y + h / 2);
    p->drawLine(x, y, x + w, y);
    for (int k = 0; k < 4; ++k)
        p->drawLine(x + 2 + k, y - 1 - k, x + 2 + k, y + 1 + k);
}

void PseWave::DrawArrowsUp(QPainter* p, int x, int y)
{
    const int w = ArrowSize.width(), h = ArrowSize.height();
    p->drawLine(x - w / 2, y, x + w / 2, y);
    p->drawLine(x, y, x, y + h);
    for (int k = 0; k < 4; ++k)
        p->drawLine(x - 1 - k, y + 2 + k, x + 1 + k, y + 2 + k);
}

void PseWave::DrawArrowsDown(QPainter* p, int x, int y)
{
    const int w = ArrowSize.width(), h = ArrowSize.height();
    p->drawLine(x - w / 2, y, x + w / 2, y);
    p->drawLine(x, y - h, x, y);
    for (int k = 0; k < 4; ++k)
        p->drawLine(x - 1 - k, y - 2 - k, x + 1 + k, y - 2 - k);
}

void PseWave::DrawArrowsHorizontal(QPainter* p, const QColor& c, int x1, int x2, int y)
{
    p->setPen(QPen(c, 1));
    DrawArrowsHorizontal(p, x1, x2, y);
}

void PseWave::DrawArrowsVertical(QPainter* p, const QColor& c, int y1, int y2, int x)
{
    p->setPen(QPen(c, 1));
    DrawArrowsVertical(p, y1, y2, x);
}

void PseWave::DrawArrowsHorizontal(QPainter* p, int x1, int x2, int y)
{
    const int lo = std::min(x1, x2), hi = std::max(x1, x2);
    if ((hi - lo) * 2 < ArrowSize.width() * 3) {
        // Too short for a line: the heads stand outside and point inwards.
        DrawArrowsRight(p, lo, y);
        DrawArrowsLeft(p, hi, y);
        return;
    }
    DrawArrowsLeft(p, lo, y);
    DrawArrowsRight(p, hi, y);
    p->drawLine(lo, y, hi, y);
}

void PseWave::DrawArrowsVertical(QPainter* p, int y1, int y2, int x)
{
    const int lo = std::min(y1, y2), hi = std::max(y1, y2);
    if ((hi - lo) * 2 < ArrowSize.height() * 3) {
        DrawArrowsDown(p, x, lo);
        DrawArrowsUp(p, x, hi);
        return;
    }
    DrawArrowsUp(p, x, lo);
    DrawArrowsDown(p, x, hi);
    p->drawLine(x, lo, x, hi);
}

void PseWave::DrawArrowUp(QPainter* p, const QColor& c, int y1, int y2, int x)
{
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    p->setPen(QPen(c, 1));
    p->drawLine(x, top, x, bottom);
    for (int k = 0; k < 4; ++k)
        p->drawLine(x - 1 - k, top + 2 + k, x + 1 + k, top + 2 + k);
}

void PseWave::DrawArrowRight(QPainter* p, const QColor& c, int x1, int x2, int y)
{
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    p->setPen(QPen(c, 1));
    p->drawLine(left, y, right, y);
    for (int k = 0; k < 4; ++k)
        p->drawLine(right - 2 - k, y - 1 - k, right - 2 - k, y + 1 + k);
}

void PseWave::DrawHarmicFreqAmp(QPainter* p)
{
    const CH_DATA& r = m_shown;
    const int w = windw - 40;
    const int ah = ArrowSize.height();
    const int x0 = w / 2 + 22;
    const int axisY = 260 - ah;
    DrawArrowUp(p, Qt::white, 30, axisY, x0);
    DrawArrowRight(p, Qt::white, x0, w + 22, axisY);
    const int pitch = ((w - 20) / 2) / 16;
    double m = r.Vpp;
    for (double a : r.HarmonicSnAmp)
        m = std::max(m, a);
    if (!(m > 0) || pitch <= 2)
        return;
    const double full = 200 - ah;
    QFont font = p->font();
    font.setPixelSize(12);
    p->setFont(font);
    const int order = std::min<int>(r.HarmonicOrder, 16);
    for (int n = 1; n <= order; ++n) {
        double amp = 0;
        if (n == 1) {
            amp = r.Vpp;
        } else {
            bool shown = false;
            switch (r.HarmonicType) {
            case HARMNIC_TYPE_ODD: shown = n % 2 == 1; break;
            case HARMNIC_TYPE_EVEN: shown = n % 2 == 0; break;
            case HARMNIC_TYPE_ALL: shown = true; break;
            default: shown = (r.HarmonicUserType >> (16 - n)) & 1u; break;
            }
            if (!shown)
                continue;
            amp = r.HarmonicSnAmp[n - 2];
        }
        const int height = int(std::max(0.0, std::min(1.0, amp / m)) * full);
        const int left = x0 + 2 + (n - 1) * pitch;
        p->fillRect(QRect(left, axisY - height, pitch - 2, height), m_pen.color());
        p->setPen(m_pen.color());
        p->drawText(left, axisY - height - 5, QString::number(n));
    }
}

// ---- QAM constellations ----

void PseWave::drawGrid(QPainter* p, const QColor& c, const QRect& r, int margin, int n, int skip, int radius)
{
    const int left = r.left() + margin, top = r.top() + margin;
    const int inner = r.width() - 2 * margin;
    p->setPen(Qt::NoPen);
    p->setBrush(c);
    auto edge = [&](int i) { return i < skip || i >= n - skip; };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            if (skip > 0 && edge(i) && edge(j))
                continue;
            const int x = left + i * (inner - 1) / (n - 1);
            const int y = top + j * (inner - 1) / (n - 1);
            p->drawEllipse(QPoint(x, y), radius, radius);
        }
    p->setBrush(Qt::NoBrush);
}

void PseWave::Draw4QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 4, 2, 0, 3); }
void PseWave::Draw16QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 8, 4, 0, 3); }
void PseWave::Draw32QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 8, 6, 1, 3); }
void PseWave::Draw64QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 8, 8, 0, 2); }
void PseWave::Draw128QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 12, 12, 2, 2); }
void PseWave::Draw256QAM(QPainter* p, const QColor& c, const QRect& r) { drawGrid(p, c, r, r.width() / 12, 16, 0, 2); }

void PseWave::Draw8QAM(QPainter* p, const QColor& c, const QRect& r)
{
    const QPointF centre = QRectF(r).center();
    const double radius = 5.0 * r.width() / 12;
    p->setPen(Qt::NoPen);
    p->setBrush(c);
    for (int k = 1; k <= 8; ++k) {
        const double a = qDegreesToRadians(k * 45.0 + 22.5);
        p->drawEllipse(QPointF(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)), 3, 3);
    }
    p->setBrush(Qt::NoBrush);
}

void PseWave::drawQAM(QPainter* p, int map, const QColor& c)
{
    const QRect r((windw - 300) / 2, 0, 300, 300);
    const int cx = r.left() + 150;
    DrawArrowUp(p, Qt::gray, 300, 0, cx);
    DrawArrowRight(p, Qt::gray, r.left(), r.right(), 150);
    QFont font = p->font();
    font.setPixelSize(16);
    p->setFont(font);
    p->setPen(Qt::gray);
    p->drawText(cx + 8, 14, QStringLiteral("Q"));
    p->drawText(r.right() - 10, 140, QStringLiteral("I"));
    switch (map) {
    case 0: Draw4QAM(p, c, r); break;
    case 1: Draw8QAM(p, c, r); break;
    case 2: Draw16QAM(p, c, r); break;
    case 3: Draw32QAM(p, c, r); break;
    case 4: Draw64QAM(p, c, r); break;
    case 5: Draw128QAM(p, c, r); break;
    default: Draw256QAM(p, c, r); break;
    }
}
