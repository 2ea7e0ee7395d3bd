// Drawing the traces like a bench scope's screen.
#include "simboard/scope_png.h"
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
const int kWidth = 1000, kHeight = 600;
const int kDivX = 10, kDivY = 8;

// The smallest 1-2-5 step at least x.
double step125(double x)
{
    if (!(x > 0))
        return 1e-3;
    const double p = std::pow(10.0, std::floor(std::log10(x)));
    for (double k : {1.0, 2.0, 5.0, 10.0})
        if (k * p >= x * (1 - 1e-9))
            return k * p;
    return 10 * p;
}

// With several traces the panel keeps what tells them apart.
bool shortLine(const QString& l)
{
    static const char* keep[] = {"Freq", "Fmin", "Fmax", "ModF", "Depth", "BurstT", "Cycles", "Vpp", "Mean", "Duty"};
    for (const char* k : keep)
        if (l.startsWith(QLatin1String(k)))
            return true;
    return false;
}
} // namespace

QColor scopeChannelColor(int ch)
{
    // The channel colours of the instrument's screens.
    static const QColor colours[] = {QColor("#990000"), QColor("#009999"), QColor("#ff9900"), QColor("#cc3399")};
    return ch >= 0 && ch < 4 ? colours[ch] : QColor("#446722");
}

QImage scopeImage(const QVector<ScopeTrace>& traces, double dt, const QString& title)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(QColor(12, 12, 16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect screen(30, 40, 740, 520);
    const double gx = screen.width() / double(kDivX), gy = screen.height() / double(kDivY);
    const int samples = traces.isEmpty() ? 0 : traces.first().v.size();
    const double span = dt * samples;

    QPen grid(QColor(60, 60, 70), 1, Qt::DotLine);
    p.setPen(grid);
    for (int i = 0; i <= kDivX; ++i)
        p.drawLine(QPointF(screen.left() + i * gx, screen.top()), QPointF(screen.left() + i * gx, screen.bottom()));
    for (int i = 0; i <= kDivY; ++i)
        p.drawLine(QPointF(screen.left(), screen.top() + i * gy), QPointF(screen.right(), screen.top() + i * gy));
    p.setPen(QPen(QColor(110, 110, 120), 1));
    p.drawRect(screen);

    QFont f("DejaVu Sans Mono");
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(traces.size() > 1 ? 12 : 14);
    p.setFont(f);
    const int lineStep = traces.size() > 1 ? 15 : 22;
    QStringList scales;
    int panelY = 56;
    for (int k = 0; k < traces.size(); ++k) {
        const ScopeTrace& t = traces[k];
        const ScopeMeasurements& m = t.m;
        const QColor colour = scopeChannelColor(t.ch);
        // Vertical scale: one trace takes six divisions, centred on its
        // middle; several share the screen in bands from the top, as a
        // scope's channel positions would place them.
        const int n = traces.size();
        const double band = double(kDivY) / n;
        const double vdiv = step125(std::max(m.vpp, 1e-3) / (n == 1 ? 6 : band * 0.8));
        const double centre = std::round((m.vmax + m.vmin) / 2 / vdiv) * vdiv;
        const double bandMiddle = n == 1 ? screen.center().y() + 0.5 : screen.top() + (k + 0.5) * band * gy;
        auto yOf = [&](double volts) { return bandMiddle - (volts - centre) / vdiv * gy; };

        // Ground marker: the channel number at its 0 V level, left of the grid.
        const double y0 = std::min(std::max(yOf(0), double(screen.top())), double(screen.bottom()));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF(
            {QPointF(2, y0 - 7), QPointF(18, y0 - 7), QPointF(26, y0), QPointF(18, y0 + 7), QPointF(2, y0 + 7)}));
        p.setPen(Qt::white);
        p.drawText(QPointF(6, y0 + 4), QString::number(t.ch + 1));

        // The trace: per pixel column its minimum and maximum, so fast waves
        // keep their envelope.
        p.setClipRect(screen);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour.lighter(115), 1.2));
        const int cols = screen.width();
        QPainterPath path;
        const QVector<double>& v = t.v;
        for (int c = 0; c < cols && !v.isEmpty(); ++c) {
            const int a = int(double(c) * v.size() / cols);
            const int b = std::min(int(v.size()), std::max(a + 1, int(double(c + 1) * v.size() / cols)));
            double lo = v[a], hi = v[a];
            for (int i = a; i < b; ++i) {
                lo = std::min(lo, v[i]);
                hi = std::max(hi, v[i]);
            }
            const double x = screen.left() + c + 0.5;
            if (c == 0)
                path.moveTo(x, yOf(v[a]));
            path.lineTo(x, yOf(v[a]));
            if (b - a > 1) {
                path.lineTo(x, yOf(hi));
                path.lineTo(x, yOf(lo));
                path.lineTo(x, yOf(v[b - 1]));
            }
        }
        p.drawPath(path);
        p.setClipping(false);

        // Trigger: the first trace's rising mid-level crossing, marked on the
        // time axis (top) and at its level (right edge).
        if (k == 0 && m.trigger >= 0 && span > 0) {
            const double x = screen.left() + m.trigger / span * screen.width();
            const double yl = yOf((m.vmax + m.vmin) / 2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 140, 0));
            p.drawPolygon(QPolygonF(
                {QPointF(x - 7, screen.top() - 12), QPointF(x + 7, screen.top() - 12), QPointF(x, screen.top() - 1)}));
            p.drawPolygon(QPolygonF({QPointF(screen.right() + 12, yl - 7), QPointF(screen.right() + 12, yl + 7),
                                     QPointF(screen.right() + 1, yl)}));
            p.setPen(QPen(QColor(255, 140, 0, 110), 1, Qt::DashLine));
            p.drawLine(QPointF(x, screen.top()), QPointF(x, screen.bottom()));
            p.setBrush(Qt::NoBrush);
        }

        // The channel's measurements.
        p.setPen(colour.lighter(140));
        p.drawText(QPointF(800, panelY), QStringLiteral("CH%1%2").arg(t.ch + 1).arg(t.outputOn ? "" : "  output off"));
        panelY += lineStep;
        for (const QString& line : m.lines()) {
            if (traces.size() > 1 && !shortLine(line))
                continue;
            p.drawText(QPointF(800, panelY), line);
            panelY += lineStep;
        }
        panelY += lineStep / 2;
        scales << QStringLiteral("CH%1 %2/div").arg(t.ch + 1).arg(scopeEng(vdiv, "V", 3));
    }
    p.setPen(QColor(220, 220, 230));
    p.drawText(QPointF(30, 26), title);
    p.drawText(QPointF(30, 585), scales.join("  ") + QStringLiteral("   %1/div").arg(scopeEng(span / kDivX, "s", 3)));
    p.end();
    return img;
}
