#include "param/CUnit.h"
#include <cmath>

double CUnit::m_arbVrms[CH_Total] = {1.0, 1.0, 1.0, 1.0};

static inline int chIndex(CH_ID ch) { return (ch >= CH1 && ch <= CH4) ? int(ch) : 0; }

double CUnit::VppToVrmsRatio(CH_ID ch, BASE_WAVE wave, double freq)
{
    switch (wave) {
    case BASE_Sine:
    case BASE_Harmonic: return 0.35355339059327373; // 1 / (2 sqrt 2)
    case BASE_Square:
    case BASE_Pulse:
    case BASE_Prbs: return 0.5;
    case BASE_Ramp: return 0.2886751345948129; // 1 / (2 sqrt 3)
    case BASE_Arb: return GetArbVrms(ch) / 2;
    case BASE_Noise: {
        const double r = NoiseRatio(freq);
        return r > 0 ? 1.0 / r : 1.0;
    }
    default: return 1.0;
    }
}

double CUnit::VppToVrms(CH_ID ch, BASE_WAVE wave, double vpp, double freq)
{
    return vpp * VppToVrmsRatio(ch, wave, freq);
}

double CUnit::VrmsToVpp(CH_ID ch, BASE_WAVE wave, double vrms, double freq)
{
    return vrms / VppToVrmsRatio(ch, wave, freq);
}

double CUnit::VrmsToDbm(BASE_WAVE, double vrms, double load) { return 10.0 * std::log10((vrms * vrms / load) / 0.001); }

double CUnit::DbmToVrms(BASE_WAVE, double dbm, double load)
{
    return std::sqrt(std::pow(10.0, dbm / 10.0) * load * 0.001);
}

double CUnit::VppToDbm(CH_ID ch, BASE_WAVE wave, double vpp, double load, double freq)
{
    return VrmsToDbm(wave, VppToVrms(ch, wave, vpp, freq), load);
}

double CUnit::DbmToVpp(CH_ID ch, BASE_WAVE wave, double dbm, double load, double freq)
{
    return VrmsToVpp(ch, wave, DbmToVrms(wave, dbm, load), freq);
}

double CUnit::powerRatioTodB(double x) { return 10.0 * std::log10(x); }
double CUnit::dBToPowerRatio(double x) { return std::pow(10.0, x / 10.0); }
double CUnit::VrmsRatioTodB(double x) { return 20.0 * std::log10(x); }

double CUnit::NoiseRatio(double bw)
{
    static const double table[24][2] = {
        {1e5, 2.597014925}, {1e6, 2.599009901},   {1e7, 2.592964824},   {2e7, 2.565445026}, {3e7, 2.516666667},
        {4e7, 2.455621302}, {5e7, 2.373417722},   {6e7, 2.551470588},   {7e7, 2.388059701}, {8e7, 2.298387097},
        {9e7, 2.137096774}, {1e8, 2.182539683},   {1.5e8, 2.081300813}, {2e8, 2.161290323}, {2.5e8, 2.098360656},
        {3e8, 2.081300813}, {3.2e8, 2.088709677}, {3.5e8, 2.11023622},  {4e8, 2.086614173}, {4.5e8, 2.124031008},
        {5e8, 2.120300752}, {5.5e8, 2.102189781}, {5.7e8, 2.121428571}, {6e8, 2.13986014},
    };
    int i = 0;
    while (i < 24 && !(bw <= table[i][0]))
        ++i;
    if (i > 22)
        i = 22;
    const double t = (table[i][0] - bw) / (table[i + 1][0] - table[i][0]);
    return table[i + 1][1] * t + (1 - t) * table[i][1];
}

double CUnit::GetArbVrms(CH_ID ch)
{
    const double r = m_arbVrms[chIndex(ch)];
    return r > 0 ? r : 1.0;
}

void CUnit::SetArbVrms(CH_ID ch, double ratio) { m_arbVrms[chIndex(ch)] = ratio; }

void CUnit::CalcVrmsRatioShort(CH_ID ch, const short* data, int n, double fullScale)
{
    if (data == nullptr || n <= 0 || fullScale <= 0)
        return;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += double(data[i]) * double(data[i]);
    m_arbVrms[chIndex(ch)] = std::sqrt(sum / (fullScale * fullScale) / n);
}
