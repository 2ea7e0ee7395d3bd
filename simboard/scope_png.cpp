// Drawing the trace like a bench scope's screen.
#include "simboard/scope_png.h"
#include <QFont>
#include <QPainter>
#include <QPainterPath>
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
} // namespace

QImage scopeImage(const QVector<double>& v, double dt, const ScopeMeasurements& m, const QString& title)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(QColor(12, 12, 16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect screen(20, 40, 760, 520);
    const double gx = screen.width() / double(kDivX), gy = screen.height() / double(kDivY);

    // Vertical scale: the swing in six divisions, centred on its middle.
    const double vdiv = step125(std::max(m.vpp, 1e-3) / 6);
    const double centre = std::round((m.vmax + m.vmin) / 2 / vdiv) * vdiv;
    const double span = dt * v.size();
    auto yOf = [&](double volts) { return screen.center().y() + 0.5 - (volts - centre) / vdiv * gy; };

    QPen grid(QColor(60, 60, 70), 1, Qt::DotLine);
    p.setPen(grid);
    for (int i = 0; i <= kDivX; ++i)
        p.drawLine(QPointF(screen.left() + i * gx, screen.top()), QPointF(screen.left() + i * gx, screen.bottom()));
    for (int i = 0; i <= kDivY; ++i)
        p.drawLine(QPointF(screen.left(), screen.top() + i * gy), QPointF(screen.right(), screen.top() + i * gy));
    p.setPen(QPen(QColor(110, 110, 120), 1));
    p.drawRect(screen);
    // Ground marker.
    const double y0 = yOf(0);
    if (y0 > screen.top() && y0 < screen.bottom()) {
        p.setPen(QPen(QColor(240, 200, 40), 1));
        p.drawText(QPointF(4, y0 + 4), "0");
    }

    // The trace: per pixel column its minimum and maximum, so fast waves
    // keep their envelope.
    p.setClipRect(screen);
    p.setPen(QPen(QColor(240, 210, 40), 1.2));
    const int cols = screen.width();
    QPainterPath path;
    bool started = false;
    for (int c = 0; c < cols && !v.isEmpty(); ++c) {
        const int a = int(double(c) * v.size() / cols);
        const int b = std::max(a + 1, int(double(c + 1) * v.size() / cols));
        double lo = v[a], hi = v[a];
        for (int i = a; i < b && i < v.size(); ++i) {
            lo = std::min(lo, v[i]);
            hi = std::max(hi, v[i]);
        }
        const double x = screen.left() + c + 0.5;
        if (!started) {
            path.moveTo(x, yOf(v[a]));
            started = true;
        }
        path.lineTo(x, yOf(v[a]));
        if (b - a > 1) {
            path.lineTo(x, yOf(hi));
            path.lineTo(x, yOf(lo));
            path.lineTo(x, yOf(v[std::min(b, v.size()) - 1]));
        }
    }
    p.drawPath(path);
    p.setClipping(false);

    QFont f("DejaVu Sans Mono");
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(QColor(220, 220, 230));
    p.drawText(QPointF(20, 26), title);
    p.drawText(QPointF(20, 585), QStringLiteral("%1/div   %2/div   centre %3")
                                      .arg(scopeEng(vdiv, "V", 3), scopeEng(span / kDivX, "s", 3),
                                           scopeEng(centre, "V", 4)));
    p.setPen(QColor(240, 210, 40));
    int y = 60;
    for (const QString& line : m.lines()) {
        p.drawText(QPointF(795, y), line);
        y += 22;
    }
    p.end();
    return img;
}
