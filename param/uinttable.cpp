#include "param/uinttable.h"
#include <cmath>

#define UNIT_END                                                                                                       \
    {                                                                                                                  \
        0, UintUndefined, "", "", 0                                                                                    \
    }

const UnitStruct FrequencyUint[] = {
    {1e6, UintFre, "MHz", "MHz", 0},  {1e3, UintFre, "kHz", "kHz", 0},  {1, UintFre, "Hz", "Hz", 0},
    {1e-3, UintFre, "mHz", "mHz", 0}, {1e-6, UintFre, "μHz", "μHz", 0}, UNIT_END,
};
const UnitStruct PeriodUint[] = {
    {1e3, UintPeriod, "ks", "ks", 0},  {1, UintPeriod, "s", "s", 0},      {1e-3, UintPeriod, "ms", "ms", 0},
    {1e-6, UintPeriod, "μs", "μs", 0}, {1e-9, UintPeriod, "ns", "ns", 0}, UNIT_END,
};
const UnitStruct SampleRateUint[] = {
    {1e6, UintSampleRate, "MSa/s", "MSa/s", 0},  {1e3, UintSampleRate, "kSa/s", "kSa/s", 0},
    {1, UintSampleRate, "Sa/s", "Sa/s", 0},      {1e-3, UintSampleRate, "mSa/s", "mSa/s", 0},
    {1e-6, UintSampleRate, "μSa/s", "μSa/s", 0}, UNIT_END,
};
const UnitStruct BitrateUint[] = {
    {1e6, UintBitRate, "Mbps", "Mbps", 0},  {1e3, UintBitRate, "kbps", "kbps", 0},  {1, UintBitRate, "bps", "bps", 0},
    {1e-3, UintBitRate, "mbps", "mbps", 0}, {1e-6, UintBitRate, "μbps", "μbps", 0}, UNIT_END,
};
const UnitStruct VoltageAmpUint[] = {
    {1, UintAmpVpp, "Vpp", "Vpp", 0},    {1e-3, UintAmpVpp, "mVpp", "mVpp", 0},
    {1, UintAmpVrms, "Vrms", "Vrms", 0}, {1e-3, UintAmpVrms, "mVrms", "mVrms", 0},
    {1, UintAmpVDbm, "dBm", "dBm", 0},   UNIT_END,
};
const UnitStruct VoltageUint[] = {
    {1, UintVoltage, "V", "V", 0},
    {1e-3, UintVoltage, "mV", "mV", 0},
    UNIT_END,
};
const UnitStruct RatioUint[] = {
    {1, UintRatio, "%", "%", 0},    {1, UintRatio, "%", "25%", 25}, {1, UintRatio, "%", "50%", 50},
    {1, UintRatio, "%", "75%", 75}, {1, UintRatio, "%", "95%", 95}, UNIT_END,
};
const UnitStruct AngleUint[] = {
    {1, UintAngle, "°", "°", 0},      {1, UintAngle, "°", "90°", 90},   {1, UintAngle, "°", "180°", 180},
    {1, UintAngle, "°", "270°", 270}, {1, UintAngle, "°", "360°", 360}, UNIT_END,
};
const UnitStruct SNRUint[] = {
    {1, UintSNR, "dB", "dB", 0},
    {1, UintSNR, "dB", "3dB", 3},
    {1, UintSNR, "dB", "10dB", 10},
    UNIT_END,
};
const UnitStruct OhmUint[] = {
    {1e3, UintOhm, "kΩ", "kΩ", 0},
    {1, UintOhm, "Ω", "Ω", 0},
    {1, UintOhm, "Ω", "50Ω", 50},
    {1, UintOhm, "Ω", "HighZ", 1000000},
    UNIT_END,
};
const UnitStruct NumUint[] = {
    {1, UintNum, "", "Ok", 0},
    UNIT_END,
};

const UnitStruct* GetUintStruct(UintType type)
{
    switch (type) {
    case UintFre: return FrequencyUint;
    case UintPeriod: return PeriodUint;
    case UintSampleRate: return SampleRateUint;
    case UintBitRate: return BitrateUint;
    case UintAmpVpp:
    case UintAmpVrms:
    case UintAmpVDbm: return VoltageAmpUint;
    case UintVoltage: return VoltageUint;
    case UintRatio: return RatioUint;
    case UintAngle: return AngleUint;
    case UintSNR: return SNRUint;
    case UintOhm: return OhmUint;
    case UintNum: return NumUint;
    default: return nullptr;
    }
}

int GetUintSize(UintType type)
{
    const UnitStruct* t = GetUintStruct(type);
    int n = 0;
    while (t && t[n].scale != 0)
        ++n;
    return n;
}

int GetUint(double magnitude, const UnitStruct* table, UintType type)
{
    if (!table)
        return -1;
    int i = 0;
    while (table[i].scale != 0 && table[i].Type != type)
        ++i;
    if (table[i].scale == 0)
        return -1;
    const double m = std::fabs(magnitude);
    while (table[i + 1].scale != 0 && table[i + 1].Type == type && table[i + 1].scale < table[i].scale &&
           m < table[i].scale * (1 - 1e-9))
        ++i;
    return i;
}
