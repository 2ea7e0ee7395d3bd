// Deep waveform memory of CH1/CH2: arbitrary waves played sample by sample,
// up to 2^26 samples. The memory is filled through a 16-byte window (base
// 0x401 for CH1, 0x501 for CH2) while its load enable is 1; it takes whole
// windows of 8 samples, so a wave whose length is not a multiple of 8 is
// written several times over until the total is, and very long waves of
// such a length are first resampled to 2^23 samples.
#include "hardware/CSetParam.h"
#include "Method/GlobalMethod.h"
#include <QDebug>
#include <new>

int CSetParam::DeepPasses(long long len)
{
    if (len <= 0)
        return 1;
    int r = 1;
    while ((r * len) % 8 != 0 && (r + 1) * len <= kDeepMaxSamples)
        ++r;
    return r;
}

bool CSetParam::SetDeepWaveData(CH_ID ch, const short* data, int len, const std::function<void(int)>& progress)
{
    if ((ch != CH1 && ch != CH2) || data == nullptr || len < 1)
        return false;
    const short* src = data;
    long long n = len;
    short* resampled = nullptr;
    // Resample what the memory cannot take as it is: long waves of a length
    // that is no multiple of 8, and anything beyond the memory's size.
    if (len > kDeepResampleLen && (len % 8 != 0 || len > kDeepMaxSamples)) {
        resampled = new (std::nothrow) short[kDeepResampleLen];
        if (resampled == nullptr) {
            qWarning("malloc error");
            return false;
        }
        GlobalMethod::SampleLine(resampled, kDeepResampleLen, data, len);
        src = resampled;
        n = kDeepResampleLen;
    }
    const int passes = DeepPasses(n);
    const unsigned load = ch == CH1 ? REG_DEEP1_LOAD : REG_DEEP2_LOAD;
    const unsigned window = ch == CH1 ? REG_DEEP1_DATA : REG_DEEP2_DATA;

    SetFPGA_reg(load, static_cast<unsigned char>(1));
    // Every write runs from the window base to its end and the address then
    // wraps to the base; only the last write of the data may be shorter.
    unsigned char chunk[REG_DEEP_WINDOW];
    unsigned fill = 0;
    const long long total = n * passes;
    // Reported every 2^18 words.
    const long long step = 1 << 18;
    for (int p = 0; p < passes; ++p) {
        for (long long i = 0; i < n; ++i) {
            if (progress && ((p * n + i) & (step - 1)) == 0 && p * n + i > 0)
                progress(int((p * n + i) * 100 / total));
            const unsigned short s = static_cast<unsigned short>(src[i]);
            chunk[fill++] = static_cast<unsigned char>(s & 0xFF);
            chunk[fill++] = static_cast<unsigned char>(s >> 8);
            if (fill == REG_DEEP_WINDOW) {
                FpgaWrite(window, chunk, int(fill));
                fill = 0;
            }
        }
    }
    if (fill > 0)
        FpgaWrite(window, chunk, int(fill));
    SetFPGA_reg(load, static_cast<unsigned char>(0));
    delete[] resampled;
    return true;
}
