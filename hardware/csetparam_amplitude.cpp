// The amplitude path of a channel: choice of the output-path switch code,
// the switch sequence, offset, amplitude scale, flatness table, added noise
// and merge gain.
//
// The output stage has one switch code per output range (attenuators,
// amplifier, relays). The AC range follows from the amplitude, the DC range
// from the offset; when both agree on the amplifier, or the AC gains are the
// same, one code serves both. Otherwise (a small signal on a large offset)
// the amplifier is switched in for the offset and the AC signal is scaled
// down through the attenuators and the amplitude word ("large-offset path").
#include "hardware/CSetParam.h"
#include "param/CUnit.h"
#include "hardware/fpga_scales.h"
#include "param/sys_param.h"
#include <QThread>
#include <cmath>
#include <vector>

namespace {
// The low ranges (up to 0.33 Vpp) drive the DAC lower than their nominal
// full scale: by 3.1 on the ranges up to 36 mVpp, by 3.4 above.
double smallRangeDivisor(const CChCharacter& c, unsigned char code)
{
    const AmpSWMap* m = c.GetATTtoAmpMap(code);
    if (m == nullptr || m->amp > 0.33)
        return 1.0;
    return m->amp <= 0.036 ? 3.1 : 3.4;
}

unsigned short scaleWord(double ratio)
{
    if (!(ratio > 0))
        return 0;
    return ratio >= 1.0 ? 65535 : static_cast<unsigned short>(std::trunc(ratio * 65535.0));
}

long long volAdjWord(double ratio)
{
    // SetVolAdjFine clamps to 1..65535; NaN or negative ratios become 1.
    if (!(ratio > 0))
        return 0;
    return static_cast<long long>(std::trunc(std::fmin(ratio, 1.0) * 65535.0));
}

// Switch code change: the relays must not switch with signal on them. The
// output goes off, the offset to 0 on the smallest range, the scale to its
// minimum; after the relays (50 ms) have settled the new code is written.
void switchTo(CH_ID ch, unsigned char code)
{
    if (code == CSetParam::state.m_ATT[ch]) {
        CSetParam::SetATT(ch, code);
        return;
    }
    CSetParam::SetChOutput(ch, false);
    CSetParam::SetOffset(ch, 14, 0, false);
    CSetParam::SetVolAdjFine(ch, 0);
    QThread::msleep(50);
    CSetParam::SetATT(ch, code);
    QThread::msleep(1);
    CSetParam::SetChOutput(ch, sys_param::OnOff[ch]);
    CSetParam::ResetFPFGA(false);
}
} // namespace

void CSetParam::SetAmpOffset(CH_ID ch, double freq, double vpp, double offset, bool merge, bool inversion,
                             bool noiseSum, float snr)
{
    if (!IsChannel(ch) || std::isnan(vpp) || std::isnan(offset))
        return;
    CChCharacter& c = state.pCharacter[ch];
    const CH_ID partner = CChCharacter::PartnerOf(ch);
    // 1. Merging needs the partner's output.
    if (!sys_param::OnOff[partner])
        merge = false;
    // 2. The amplitude at the load, to the millivolt.
    double vppL = std::fmin(vpp, 20.0 * c.GetLoadGain());
    if (vppL < 0)
        vppL = 0;
    double amp = std::floor(vppL / 0.001 + 0.0005) * 0.001;
    // 3. With noise added the signal leaves room for the noise.
    double noiseRef = 0;
    if (noiseSum) {
        noiseRef = (double(snr) / CUnit::VppToVrmsRatio(ch, sys_param::GetChBaseWave(ch), freq)) *
            CUnit::GaussianNoiseRatioRatio();
        if (noiseRef > 0 && std::isfinite(noiseRef))
            amp = std::trunc(amp / (noiseRef / (noiseRef + 1)) * 1000 + 1e-5) / 1000;
        else {
            noiseSum = false; // no usable signal-to-noise ratio: no noise
            noiseRef = 0;
        }
    }
    // 4. A merged pair shares one output stage: offsets add, amplitudes add.
    double mergeAmp = 0, dc = 0, ofs = offset;
    if (merge) {
        mergeAmp = sys_param::ch(partner).Vpp;
        const double s = offset + sys_param::ch(partner).Offset;
        dc = std::floor(std::fabs(s) / 0.001 + 0.0005) * 0.001;
        ofs = s > 0 ? dc : -dc;
        amp += mergeAmp;
    } else {
        dc = std::fabs(offset);
    }
    // 5, 6. The switch code.
    const unsigned char acCode = c.GetACMapSW(amp);
    const unsigned char dcCode = c.GetDCMapSW(dc);
    unsigned char code;
    if (std::fabs(amp) < 1e-9)
        code = dcCode;
    else if (CChCharacter::GetDCGain(dcCode) <= CChCharacter::GetDCGain(acCode))
        code = acCode;
    else if (std::fabs(CChCharacter::GetACGain(dcCode) - CChCharacter::GetACGain(acCode)) < 1e-9)
        code = dcCode;
    else {
        // 9. Large-offset path: amplifier in for the offset, the AC signal
        // taken down by one more attenuator step.
        const double mapAmp = c.GetMapAmp(acCode);
        unsigned char sw = static_cast<unsigned char>(acCode | CChCharacter::ATT_AMPLIFIER);
        double g = CChCharacter::GetACGain(CChCharacter::ATT_AMPLIFIER);
        if (!(acCode & CChCharacter::ATT_DIV3)) {
            sw |= CChCharacter::ATT_DIV3;
            g *= CChCharacter::GetACGain(CChCharacter::ATT_DIV3);
        } else if (!(acCode & CChCharacter::ATT_DIV10_B)) {
            sw &= static_cast<unsigned char>(~CChCharacter::ATT_DIV3);
            g = g / CChCharacter::GetACGain(CChCharacter::ATT_DIV3) *
                CChCharacter::GetACGain(CChCharacter::ATT_DIV10_B);
            sw |= CChCharacter::ATT_DIV10_B;
        } else if (!(acCode & CChCharacter::ATT_DIV10_A)) {
            sw &= static_cast<unsigned char>(~CChCharacter::ATT_DIV3);
            g = g / CChCharacter::GetACGain(CChCharacter::ATT_DIV3) *
                CChCharacter::GetACGain(CChCharacter::ATT_DIV10_A);
            sw |= CChCharacter::ATT_DIV10_A;
        }
        amp /= g;
        vppL /= g;
        mergeAmp /= g;
        const double k = smallRangeDivisor(c, acCode);
        amp /= k;
        vppL /= k;
        switchTo(ch, sw);
        const bool attenuated = sw & (CChCharacter::ATT_DIV10_A | CChCharacter::ATT_DIV10_B);
        SetOffset(ch, attenuated ? 15 : dcCode, ofs, inversion);
        SetFineAmpCal(ch, dcCode, amp);
        SetAmpBigDC(ch, vppL, mapAmp, noiseRef, noiseSum);
        SetMerge(ch, dcCode, mergeAmp, merge);
        return;
    }
    // 7, 8.
    switchTo(ch, code);
    SetOffset(ch, code, ofs, inversion);
    SetAmp(ch, code, amp, vppL, noiseRef, noiseSum);
    SetMerge(ch, code, mergeAmp, merge);
}

void CSetParam::SetAmp(CH_ID ch, unsigned char code, double ampFlat, double vpp, double noiseRef, bool noiseOn)
{
    if (!IsChannel(ch))
        return;
    const CChCharacter& c = state.pCharacter[ch];
    const double s = vpp / smallRangeDivisor(c, code);
    const double map = c.GetMapAmp(code);
    double ratio = map > 0 ? s / map : 1.0;
    ratio = std::fmin(ratio, 1.0);
    if (state.isAcCal) {
        // Calibration measures the bare path: flat table, no noise changes.
        SetFineAmpData(ch, 65535);
        SetVolAdjFine(ch, volAdjWord(ratio));
        return;
    }
    SetFineAmpCal(ch, code, ampFlat);
    SetVolAdjFine(ch, volAdjWord(ratio));
    unsigned short gain = 65535;
    if (noiseOn)
        gain =
            scaleWord(noiseRef > 0 ? std::fmin(state.m_NoiseSumCal[ch] * (ratio / noiseRef) / 65535.0 / 1.3, 1.0) : 0);
    SetNoiseSum(ch, noiseOn, gain);
}

void CSetParam::SetAmpBigDC(CH_ID ch, double vpp, double mapAmp, double noiseRef, bool noiseOn)
{
    if (!IsChannel(ch))
        return;
    const double ratio = mapAmp > 0 ? std::fmin(vpp / mapAmp, 1.0) : 1.0;
    SetVolAdjFine(ch, volAdjWord(ratio));
    unsigned short gain = 0;
    if (noiseOn && noiseRef > 0) {
        const double g = std::trunc(std::fmin(ratio / noiseRef, 1.0) * 65535.0);
        gain = g > 65534 ? 65535 : (g > 0 ? static_cast<unsigned short>(g) : 0);
    }
    SetNoiseSum(ch, noiseOn, gain);
}

void CSetParam::SetMerge(CH_ID ch, unsigned char code, double mergeAmp, bool on)
{
    if (!IsChannel(ch))
        return;
    const CChCharacter& c = state.pCharacter[ch];
    const double a = mergeAmp / smallRangeDivisor(c, code);
    const double map = c.GetMapAmp(code);
    const double ratio = map > 0 ? std::fmin(a / map, 1.0) : 1.0;
    SetFPGA_reg(ChReg(ch, REG_MERGE_EN), static_cast<unsigned char>(on ? 1 : 0));
    SetFPGA_reg(ChReg(ch, REG_MERGE_GAIN), scaleWord(ratio));
}

// The flatness table is computed for the range and the amplitude; the
// computation and the 4096-word upload are skipped while neither changed.
void CSetParam::SetFineAmpCal(CH_ID ch, unsigned char code, double vpp)
{
    if (!IsChannel(ch) || std::isnan(vpp))
        return;
    if (code == state.m_ATT[ch] && std::fabs(vpp - state.m_VPP[ch]) <= 1e-5)
        return;
    state.m_VPP[ch] = vpp;
    const int n = CChCharacter::FlatnessWords(ch);
    std::vector<unsigned short> table(size_t(n), 65535);
    state.pCharacter[ch].GetAcFineforATT(code, vpp, table.data(), unsigned(n), fpga_scale::FLATNESS_STEP);
    SetFineAmpDataReg(ch, table.data(), n);
    // The noise gain is referred to the path's gain near the noise
    // bandwidth's edge (600 MHz on CH1/CH2, 200 MHz on CH3/CH4).
    state.m_NoiseSumCal[ch] = table[size_t((ch == CH1 || ch == CH2) ? 3931 : 1309)];
}
