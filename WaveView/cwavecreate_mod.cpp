// Modulation mode: the modulating table, the pulse-carrier frequency lists
// and the previews of the analogue modulations (AM, DSB-AM, FM, PM, PWM, SUM).
// The 460-point window shows one period of the modulating wave.
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"
#include "WaveView/wavepreview.h"

using wavepreview::carrierAt;
using wavepreview::cycleRatio;
using wavepreview::dispValue;

void CWaveCreate::CreateModWave(CH_ID ch)
{
    CreateBaseWave(ch, false);
    switch (sys_param::ch(ch).ModType) {
    case MT_AM:
    case MT_BAM: CreateModXAM(ch); break;
    case MT_QAM: CreateModQAM(ch); break;
    case MT_ASK: CreateModASK(ch); break;
    case MT_FM: CreateModFM(ch); break;
    case MT_FSK: CreateModFSK(ch); break;
    case MT_3FSK: CreateMod3FSK(ch); break;
    case MT_4FSK: CreateMod4FSK(ch); break;
    case MT_PM: CreateModPM(ch); break;
    case MT_PSK: CreateModPSK(ch); break;
    case MT_BPSK: CreateModBPSK(ch); break;
    case MT_QPSK: CreateModQPSK(ch); break;
    case MT_OSK: CreateModOSK(ch); break;
    case MT_PWM: CreateModPWM(ch); break;
    case MT_SUM: CreateModSUM(ch); break;
    default: {
        // Unknown kind: show the carrier alone.
        SWaveMem& w = *GetWaveMem(ch);
        std::memcpy(w.DispMixer, w.DispBase, sizeof(w.DispMixer));
        std::memset(w.DispMod, 0, sizeof(w.DispMod));
        break;
    }
    }
}

// Modulating table and its picture; carrier cycles across the window.
static double prepareAnalogue(CH_ID ch, double lo, double hi)
{
    buildModulatingTable(ch);
    modulatingTableToDisp(ch);
    const CH_DATA& d = sys_param::ch(ch);
    // An external source has no known frequency: draw a fixed ratio.
    return d.ModSrc ? 10.0 : cycleRatio(d.Frequency, modulatingRate(ch), lo, hi);
}

void CWaveCreate::CreateModXAM(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double cycles = prepareAnalogue(ch, 0.025, 40);
    const int len = DispBaseLen(ch);
    const double depth = LimitRang((d.ModType == MT_BAM ? d.ModDepth : d.ModDepthAM) / 100.0, 0, 1.2);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double m = w.DispMod[i] / 100.0;
        const double c = carrierAt(w, len, cycles * i / WAVE_DISP_POINTS);
        w.DispMixer[i] = dispValue(c * (1 + depth * m) / (1 + depth));
    }
}

void CWaveCreate::CreateModFM(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    buildModulatingTable(ch);
    modulatingTableToDisp(ch);

    if (d.BaseWave == BASE_Pulse) {
        // A pulse carrier is frequency-modulated by stepping through a list
        // of instantaneous frequencies, one per modulating sample.
        double mx = 0;
        for (int i = 0; i < WAVE_MOD_POINTS; ++i) {
            const double f = (d.Frequency - d.ModFreDev) + (w.Modulate[i] + 32767.0) * 2.0 * d.ModFreDev / 65534.0;
            w.List[i] = f;
            if (i == 0 || f > mx)
                mx = f;
        }
        w.ListLen = WAVE_MOD_POINTS;
        w.listmaxfre = mx;
    }

    // Preview: the modulating frequency drawn within half .. twice the
    // carrier's (an external source at a tenth of it), the carrier at five
    // cycles per such modulating period, at most ten.
    const double fc = d.Frequency > 0 ? d.Frequency : 1.0;
    const double fm = d.ModSrc ? fc / 10 : LimitRang(modulatingRate(ch), fc / 2, fc * 2);
    const double cycles = LimitRang(5 * fc / fm, 2.5, 10);
    const double beta = LimitRang(d.ModFreDev / fc, 0.2, 0.8);
    const int len = DispBaseLen(ch);
    double phase = 0;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        w.DispMixer[i] = carrierAt(w, len, phase);
        phase += cycles / WAVE_DISP_POINTS * (1 + beta * w.DispMod[i] / 100.0);
    }
}

void CWaveCreate::CreateModPM(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double cycles = prepareAnalogue(ch, 1, 40);
    const int len = DispBaseLen(ch);
    const double dev = d.ModPhaseDev / 360.0;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        w.DispMixer[i] = carrierAt(w, len, cycles * i / WAVE_DISP_POINTS + dev * w.DispMod[i] / 100.0);
}

void CWaveCreate::CreateModPWM(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double cycles = prepareAnalogue(ch, 1, 20);
    // Pulses whose duty follows the modulating wave around the set duty.
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double duty = LimitRang(d.Duty + d.ModPWMDuty * w.DispMod[i] / 100.0, 0, 100) / 100.0;
        const double x = cycles * i / WAVE_DISP_POINTS;
        w.DispMixer[i] = (x - std::floor(x)) < duty ? 100 : -100;
    }
}

void CWaveCreate::CreateModSUM(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double cycles = prepareAnalogue(ch, 0.025, 40);
    const int len = DispBaseLen(ch);
    const double share = LimitRang(d.ModDepth / 100.0, 0, 1);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double c = carrierAt(w, len, cycles * i / WAVE_DISP_POINTS);
        w.DispMixer[i] = dispValue(c * (1 - share) + w.DispMod[i] * share);
    }
}
