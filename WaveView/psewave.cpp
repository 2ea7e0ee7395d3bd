#include "WaveView/psewave.h"
#include <QThread>
#include "WaveView/previewlock.h"
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

namespace {
// The trace value s (-100..+100) sits at y = 150 - s; the zero line at 150.
constexpr int kZeroY = 150;
constexpr int kTop = 50;
constexpr int kBottom = 250;
constexpr int kLeft = 20;

double bounded(double v, double lo, double hi)
{
    if (!std::isfinite(v))
        return lo;
    return std::min(hi, std::max(lo, v));
}

// Output-stage gain into a load from a 50 ohm source; an open output (at
// least 1 Mohm) passes everything.
double defaultLoadGain(double load)
{
    if (load >= 1000000.0)
        return 1.0;
    if (!(load > 0.0))
        return 0.0;
    return load / (load + 50.0);
}
} // namespace

double (*PseWave::loadGain)(double) = defaultLoadGain;

PseWave::PseWave(QQuickItem* parent) : QQuickPaintedItem(parent), m_pen(Qt::white) {}

void PseWave::setwindWidth(int w)
{
    if (w == windw)
        return;
    windw = w;
    emit windWidthChanged(w);
    update();
}

void PseWave::wch(int c)
{
    if (c >= CH1 && c <= CH4)
        ch = c;
}

void PseWave::setdisfocuse(bool f)
{
    disfocuse = f ? 1 : 0;
    emit disfocuseChanged(disfocuse);
}

void PseWave::setCurSignal(PseIndicator* s)
{
    {
        std::lock_guard<std::mutex> lock(previewLock());
        m_shown = sys_param::ch(CH_ID(ch));
        m_indicator = s ? s->indicatorType() : -1;
    }
    curSignal = s;
    ++repaintRequests;
    // The signals run in the controller's thread: the repaint is queued
    // into the item's thread, once for any number of changes until it runs.
    if (QThread::currentThread() == thread()) {
        update();
        return;
    }
    if (m_updateQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updateQueued = false;
            update();
        },
        Qt::QueuedConnection);
}

QString PseWave::pointsText(int n)
{
    if (n >= 1000001)
        return QString::asprintf("points:%5.6f M", n / 1e6);
    if (n >= 1001)
        return QString::asprintf("points:%5.3f K", n / 1000.0);
    return QString::asprintf("points:%d", n);
}

int PseWave::indicatorSpan() const { return m_shown.BaseWave == BASE_Harmonic ? WAVE_DISP_HARMONIC : WAVE_DISP_POINTS; }

void PseWave::drawTrace(QPainter* p, const short* trace, int n, int w)
{
    if (n <= 0 || w <= 0)
        return;
    int prevY = kZeroY - trace[0];
    for (int i = 0; i < n; ++i) {
        int idx = int((long long)i * WAVE_DISP_POINTS / w);
        idx = std::min(std::max(idx, 0), WAVE_DISP_POINTS - 1);
        const int y = kZeroY - trace[idx];
        p->drawLine(kLeft + i, prevY, kLeft + i, y);
        prevY = y;
    }
}

void PseWave::paint(QPainter* painter)
{
    std::lock_guard<std::mutex> lock(previewLock());
    const CH_ID id = CH_ID(ch);
    const CH_DATA& r = m_shown;
    const SWaveMem* mem = CWaveCreate::GetWaveMem(id);
    const int w = windw - 40;
    if (w <= 0)
        return;
    const bool harmonic = r.BaseWave == BASE_Harmonic;
    const int n = harmonic ? w / 2 - 10 : w;
    const uint32_t mode = r.WorkMode & 0x3000;
    const bool qam = mode == WORK_MODULATION && r.ModType == MT_QAM;

    // 1..2. The main trace, or the constellation in QAM.
    if (qam) {
        drawQAM(painter, r.QAM_Map, Qt::white);
    } else {
        painter->setPen(m_pen);
        drawTrace(painter, mode == WORK_BASE ? mem->DispBase : mem->DispMixer, n, w);
    }

    // 3. Merged channel and the size of an arbitrary file.
    QFont font = painter->font();
    font.setPixelSize(20);
    painter->setFont(font);
    painter->setPen(Qt::yellow);
    if (r.ChMerge) {
        const int partner = (id == CH1 || id == CH3) ? id + 1 : id - 1;
        painter->drawText(20, 260, QString::asprintf("Merged:CH%d + CH%d", int(id) + 1, partner + 1));
    }
    if (r.BaseWave == BASE_Arb && mem->ArbLen > 0)
        painter->drawText(20, 280, pointsText(mem->ArbLen));

    // 4. The modulating or sweep wave.
    const bool second =
        (mode == WORK_MODULATION && !qam) || mode == WORK_SCAN || (mode == WORK_BURST && r.BurstType != BT_GATE);
    if (second) {
        painter->setPen(QPen(Qt::yellow, 1));
        drawTrace(painter, mem->DispMod, n, w);
    }

    // 5. Zero line.
    DrawLine(painter, Qt::DashDotDotLine, Qt::white, kLeft, kZeroY, w + kLeft, kZeroY);

    // 6. The edited parameter.
    if (m_indicator >= 0)
        DrawIndicator(painter, EParamType(m_indicator));

    // 7. Harmonics.
    if (harmonic)
        DrawHarmicFreqAmp(painter);
}

void PseWave::DrawIndicator(QPainter* painter, EParamType type)
{
    if (windw < WAVE_DISP_POINTS)
        return;
    const CH_DATA& r = m_shown;
    if ((r.WorkMode & 0x3000) != WORK_BASE)
        return;
    const QColor c = Qt::white;
    const int h = indicatorSpan();
    switch (type) {
    case EPT_Ampl:
        if (r.AmpMode == 1)
            DrawIndicatorHigh(painter, r.High, r.Low, c);
        else
            DrawIndicatorAmpl(painter, c);
        break;
    case EPT_Freq:
        if (r.BaseWave != BASE_Noise && r.BaseWave != BASE_Prbs)
            DrawArrowsHorizontal(painter, c, kLeft, h + kLeft, 25);
        break;
    case EPT_Offset:
        if (r.AmpMode == 1)
            DrawIndicatorLow(painter, r.High, r.Low, c);
        else
            DrawIndicatorOffset(painter, r.Vpp, r.Offset, c);
        break;
    case EPT_Phase: DrawIndicatorPhase(painter, r.Phase, c); break;
    case EPT_SYMMETRY: DrawIndicatorSymmetry(painter, r.Symmetry, c); break;
    case EPT_Duty: DrawIndicatorDuty(painter, r.Rise, r.PulseWidth, r.Period, c); break;
    case EPT_RiseEdge: DrawIndicatorRiseEdge(painter, r.Rise, r.Period, c); break;
    case EPT_FallEdge: DrawIndicatorFallEdge(painter, r.Rise, r.Fall, r.PulseWidth, r.Period, c); break;
    default: break;
    }
}

// ---- indicators ----

void PseWave::DrawIndicatorAmpl(QPainter* p, const QColor& c) { DrawArrowsVertical(p, c, kTop, kBottom, 10); }

void PseWave::DrawIndicatorFreq(QPainter* p, const QColor& c)
{
    DrawArrowsHorizontal(p, c, kLeft, indicatorSpan() + kLeft, 25);
}

namespace {
int groundLevel(double high, double low)
{
    const double span = high - low;
    if (span == 0.0 || !std::isfinite(span))
        return kZeroY;
    return int(bounded(std::fabs(200.0 * high / span) + 50.0, 40.0, 270.0));
}
} // namespace

void PseWave::DrawIndicatorHigh(QPainter* p, double high, double low, const QColor& c)
{
    const int g = groundLevel(high, low);
    const int h = indicatorSpan();
    DrawArrowsVertical(p, c, kTop, g, 10);
    DrawLine(p, Qt::DashLine, c, kLeft, g, h + kLeft, g);
    DrawGround(p, c, h + kLeft, g);
}

void PseWave::DrawIndicatorLow(QPainter* p, double high, double low, const QColor& c)
{
    const int g = groundLevel(high, low);
    const int h = indicatorSpan();
    DrawArrowsVertical(p, c, g, kBottom, 10);
    DrawLine(p, Qt::DashLine, c, kLeft, g, h + kLeft, g);
    DrawGround(p, c, h + kLeft, g);
}

void PseWave::DrawIndicatorOffset(QPainter* p, double vpp, double offset, const QColor& c)
{
    const CH_DATA& r = m_shown;
    const double span = r.BaseWave == BASE_DC ? loadGain(double(r.Load)) * 10.0 : vpp + 1e-8;
    // No output (open gain 0) or a nonsense amplitude: the arrows stay at zero.
    const double ratio = span != 0.0 ? bounded(-(offset / span), -1.0, 1.0) : 0.0;
    const int h = indicatorSpan();
    int y1, y2, g;
    if (ratio > 0) {
        y1 = int(std::lround((1 - ratio) * 120 + 30));
        y2 = kZeroY;
        g = y1;
    } else {
        y1 = kZeroY;
        y2 = int(std::lround(-ratio * 120 + kZeroY));
        g = y2;
    }
    DrawArrowsVertical(p, c, y1, y2, 10);
    DrawLine(p, Qt::DashLine, c, kLeft, g, h + kLeft, g);
    DrawGround(p, c, h + kLeft, g);
}

void PseWave::DrawIndicatorPhase(QPainter* p, double phase, const QColor& c)
{
    const double r = bounded(phase / 360.0, -1.0, 1.0);
    const int h = indicatorSpan();
    if (r > 0)
        DrawArrowsHorizontal(p, c, int(h - h * r + kLeft), h + kLeft, 25);
    else
        DrawArrowsHorizontal(p, c, kLeft, int(-r * h + kLeft), 25);
}

void PseWave::DrawIndicatorSymmetry(QPainter* p, double symmetry, const QColor& c)
{
    const double r = bounded(symmetry / 100.0, 0.0, 1.0);
    DrawArrowsHorizontal(p, c, kLeft, int(r * WAVE_DISP_POINTS + kLeft), 25);
}

void PseWave::DrawIndicatorDuty(QPainter* p, double rise, double pulseWidth, double period, const QColor& c)
{
    if (!(period > 0))
        return;
    const double halfEdge = rise / 0.8 / 2;
    const int x1 = int(bounded(halfEdge * WAVE_DISP_POINTS / period, 0, WAVE_DISP_POINTS) + kLeft);
    const int x2 = int(bounded((pulseWidth + halfEdge) * WAVE_DISP_POINTS / period, 0, WAVE_DISP_POINTS) + kLeft);
    DrawArrowsHorizontal(p, c, x1, x2, 25);
}

void PseWave::DrawIndicatorRiseEdge(QPainter* p, double rise, double period, const QColor& c)
{
    if (!(period > 0))
        return;
    const double e = bounded(std::max(2.0, rise / 0.8 * WAVE_DISP_POINTS / period), 2.0, WAVE_DISP_POINTS);
    DrawArrowsHorizontal(p, c, int(0.1 * e + kLeft), int(0.9 * e + kLeft), 25);
}

void PseWave::DrawIndicatorFallEdge(QPainter* p, double rise, double fall, double pulseWidth, double period,
                                    const QColor& c)
{
    if (!(period > 0))
        return;
    const double centre = pulseWidth + rise / 0.8 / 2;
    const double a = bounded((centre - fall * 0.4 / 0.8) * WAVE_DISP_POINTS / period, 2, 458);
    const double b = bounded((centre + fall * 0.4 / 0.8) * WAVE_DISP_POINTS / period, 4, 456);
    DrawArrowsHorizontal(p, c, int(a + kLeft), int(b + kLeft), 25);
}
