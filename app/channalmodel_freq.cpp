#include "app/channalmodel_freq.h"
#include "app/channalmodel_rules.h"

using namespace entryrules;

bool modFreqModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    if (d.ModType == MT_FM && d.BaseWave == BASE_Pulse) {
        // The modulated pulse must keep a positive frequency at the bottom
        // of its swing: carrier - deviation - rate.
        m_param->Min = 1e-6;
        m_param->Max = bounded(d.Frequency - 1e-6, 1e-6, 2e6);
        const double top = bounded(d.Frequency - 1e-6 - d.ModFreDev, 1e-6, 2e6);
        return SetValueWitheCheck(value(), 1e-6, top, 0);
    }
    return limitAndCheck(this, 1e-6, 2e6);
}

bool modDepthFMModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    double lo = 0, hi = 0;
    bandwidth(ch, int(d.BaseWave), lo, hi);
    // The swing stays above zero and below the bandwidth.
    double dev = d.Frequency <= hi / 2 ? d.Frequency : hi - d.Frequency;
    if (dev < 0)
        dev = 0;
    if (d.BaseWave == BASE_Pulse) {
        m_param->Min = 0;
        m_param->Max = std::max(dev - 1e-6, 0.0);
        return SetValueWitheCheck(value(), 0, std::max(0.0, dev - 1e-6 - d.ModFre), 0);
    }
    return limitAndCheck(this, 0, dev);
}

bool HopFreqchannelModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    double lo = 0, hi = 0;
    bandwidth(ch, int(d.BaseWave), lo, hi);
    if (d.BaseWave == BASE_Pulse)
        lo = std::min(d.ModFre + 1e-6, hi);
    return limitAndCheck(this, lo, hi);
}

bool baseWaveFreqModel::UpdateRange()
{
    double lo = 0, hi = 0;
    bandwidth(ch, int(rec(ch).BaseWave), lo, hi);
    return limitAndCheck(this, lo, hi);
}

bool orderHarmonicTypeModel::UpdateRange()
{
    double lo = 0, hi = 0;
    bandwidth(ch, BASE_Sine, lo, hi);
    const double f = rec(ch).Frequency;
    const double top = f > 0 ? bounded(std::floor(hi / f), 2, 16) : 16;
    return limitAndCheck(this, 2, top);
}

// ---- userHarmonicTypeModel ------------------------------------------------------------

QString userHarmonicTypeModel::maskText(unsigned mask, int separator, int cursor, int& pos)
{
    const QString sep = separator == 0 ? QStringLiteral(",") : separator == 1 ? QStringLiteral(" ") : QString();
    QString t = QStringLiteral("X");
    pos = 0;
    for (int b = 14; b >= 0; --b) {
        if (b == cursor)
            pos = t.size();
        t += (mask >> b) & 1 ? QLatin1Char('1') : QLatin1Char('0');
        if (b > 0 && b % 4 == 0)
            t += sep;
    }
    return t;
}

void userHarmonicTypeModel::disUpdate()
{
    int pos = 0;
    const QString t = maskText(unsigned(value()) & 0xFFFF, int(sys_param::GetSeparator(CH_SYS)), m_bit, pos);
    m_sIndex = m_paramfocus ? pos : 0;
    m_sLenth = m_paramfocus ? 1 : 0;
    emit sPosChanged(m_sIndex);
    emit sLenthChanged(m_sLenth);
    wlistvalue(t);
}

QString userHarmonicTypeModel::onKeyEvent(int key, int)
{
    if (key == Key_Cancel) {
        wparamfocus(false);
        return QStringLiteral("quit");
    }
    if (!m_paramfocus) {
        if (key == Key_Ok) {
            wparamfocus(true);
            return QString();
        }
        return QStringLiteral("error");
    }
    const unsigned old = unsigned(value()) & 0xFFFF;
    unsigned mask = old;
    const unsigned bit = 1u << m_bit;
    switch (key) {
    case Key_Right: m_bit = std::max(0, m_bit - 1); break;
    case Key_Left: m_bit = std::min(14, m_bit + 1); break;
    // 16-bit arithmetic: a carry or borrow runs into the neighbouring bits.
    case Key_Up: mask = (mask + bit) & 0xFFFF; break;
    case Key_Down: mask = (mask - bit) & 0xFFFF; break;
    case Key_1:
        mask |= bit;
        m_bit = std::max(0, m_bit - 1);
        break;
    case Key_0:
        mask &= ~bit;
        m_bit = std::max(0, m_bit - 1);
        break;
    case Key_Ok: wparamfocus(false); return QString();
    default: return QString();
    }
    if (mask != old && m_param->SetValue) {
        m_param->SetValue(ch, double(mask));
        valueChangedProcess();
    }
    disUpdate();
    return QString();
}
