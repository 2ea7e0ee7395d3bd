// Noise bandwidth. The noise generator is followed by a low-pass FIR whose
// coefficients are loaded through the table port (target 0x10 + channel):
// a windowed sinc of 96 taps on CH1/CH2 and 24 taps on CH3/CH4, designed
// against FCLK at bw / 8 on CH1/CH2 and at bw / 2 on CH3/CH4.
#include "hardware/CSetParam.h"
#include "hardware/fpga_scales.h"
#include <QDebug>
#include <cmath>

using namespace fpga_scale;

namespace {
// First halves of the two windows; the second halves mirror them.
const double kWindow96[48] = {
    0.019598, 0.013342, 0.017741, 0.022979, 0.029139, 0.036303, 0.044552, 0.053961, 0.064605, 0.076550,
    0.089857, 0.104579, 0.120757, 0.138426, 0.157605, 0.178304, 0.200517, 0.224223, 0.249389, 0.275963,
    0.303879, 0.333055, 0.363391, 0.394774, 0.427075, 0.460147, 0.493834, 0.527965, 0.562357, 0.596819,
    0.631149, 0.665141, 0.698583, 0.731260, 0.762958, 0.793462, 0.822564, 0.850058, 0.875749, 0.899452,
    0.920993, 0.940211, 0.956964, 0.971124, 0.982585, 0.991259, 0.997079, 1.000000,
};
const double kWindow24[12] = {
    0.013799, 0.036004, 0.076848, 0.140019, 0.227900, 0.339490,
    0.469660, 0.609157, 0.745478, 0.864549, 0.952913, 1.000000,
};

double windowAt(int taps, int i)
{
    const double* half = taps == 96 ? kWindow96 : kWindow24;
    return i < taps / 2 ? half[i] : half[taps - 1 - i];
}
} // namespace

int CSetParam::NoiseTaps(CH_ID ch) { return (ch == CH1 || ch == CH2) ? 96 : 24; }

bool CSetParam::GetNoiseRatio(CH_ID ch, double bw, short* coef)
{
    if (coef == nullptr || !IsChannel(ch) || !(bw > 0) || !std::isfinite(bw))
        return false;
    const int taps = NoiseTaps(ch);
    const double w = 2.0 * bw / FCLK * M_PI;
    const double centre = (taps - 1) / 2.0; // 47.5 or 11.5: no tap at t = 0
    double h[96];
    double top = 0;
    for (int i = 0; i < taps; ++i) {
        const double t = i - centre;
        h[i] = windowAt(taps, i) * std::sin(w * t) / (t * M_PI);
        if (i == 0 || h[i] > top)
            top = h[i];
    }
    if (!(top > 0))
        return false;
    for (int i = 0; i < taps; ++i)
        coef[i] = static_cast<short>(std::trunc(h[i] * 32767.0 / top));
    return true;
}

void CSetParam::SetNoiseBW(CH_ID ch, double bw)
{
    if (!IsChannel(ch))
        return;
    const int taps = NoiseTaps(ch);
    const double design = (ch == CH1 || ch == CH2) ? bw / 8.0 : bw / 2.0;
    short coef[96];
    if (!GetNoiseRatio(ch, design, coef)) {
        qWarning("noise bandwidth %g Hz gives no filter, CH%d keeps its coefficients", bw, int(ch) + 1);
        return;
    }
    // The coefficient port takes groups of 16 (CH1/CH2) or 4 (CH3/CH4)
    // coefficients, each group upper half first.
    const int group = taps == 96 ? 16 : 4;
    unsigned short words[96];
    int k = 0;
    for (int g = 0; g < taps; g += group) {
        for (int i = group / 2; i < group; ++i)
            words[k++] = static_cast<unsigned short>(coef[g + i]);
        for (int i = 0; i < group / 2; ++i)
            words[k++] = static_cast<unsigned short>(coef[g + i]);
    }
    SetFPGA_reg(REG_TABLE_SELECT, static_cast<unsigned char>(TABLE_SELECT_NOISE_FILTER + unsigned(ch)));
    SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(1));
    FpgaWriteWords(REG_TABLE_DATA, words, taps);
    SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(0));
}
