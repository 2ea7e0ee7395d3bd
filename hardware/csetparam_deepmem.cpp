// Deep waveform memory of CH1/CH2: arbitrary waves played sample by sample,
// up to 2^26 samples. The memory is filled through a 16-byte window (base
// 0x401 for CH1, 0x501 for CH2) while its load enable is 1; it takes whole
// windows of 8 samples, so a wave whose length is not a multiple of 8 is
// written several times over until the total is, and very long waves of
// such a length are first resampled to 2^23 samples.
#include "hardware/CSetParam.h"
#include "Method/GlobalMethod.h"
#include <QDebug>
#include <cstring>
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
    // Whole windows go to the device as one stream; a window that straddles
    // two passes is put together here.
    unsigned char carry[REG_DEEP_WINDOW];
    size_t held = 0;
    auto send = [&](const unsigned char* p, size_t bytes) {
        if (held > 0) {
            const size_t k = bytes < REG_DEEP_WINDOW - held ? bytes : REG_DEEP_WINDOW - held;
            std::memcpy(carry + held, p, k);
            held += k;
            p += k;
            bytes -= k;
            if (held < REG_DEEP_WINDOW)
                return;
            FpgaWriteWindowed(window, REG_DEEP_WINDOW, 0, carry, held);
            held = 0;
        }
        const size_t whole = bytes - bytes % REG_DEEP_WINDOW;
        if (whole > 0)
            FpgaWriteWindowed(window, REG_DEEP_WINDOW, 0, p, whole);
        held = bytes - whole;
        std::memcpy(carry, p + whole, held);
    };
    // The samples go least significant byte first: on a little-endian CPU
    // that is how they lie in memory.
    static const bool littleEndian = [] {
        const unsigned short one = 1;
        return *reinterpret_cast<const unsigned char*>(&one) == 1;
    }();
    const long long total = n * passes;
    // Progress is reported every 2^18 words.
    const long long step = 1 << 18;
    long long done = 0;
    for (int p = 0; p < passes; ++p) {
        for (long long i = 0; i < n;) {
            const long long count = n - i < step ? n - i : step;
            if (littleEndian) {
                send(reinterpret_cast<const unsigned char*>(src + i), size_t(count) * 2);
            } else {
                unsigned char bytes[4096];
                for (long long k = i; k < i + count;) {
                    size_t fill = 0;
                    for (; k < i + count && fill < sizeof bytes; ++k) {
                        const unsigned short v = static_cast<unsigned short>(src[k]);
                        bytes[fill++] = static_cast<unsigned char>(v & 0xFF);
                        bytes[fill++] = static_cast<unsigned char>(v >> 8);
                    }
                    send(bytes, fill);
                }
            }
            i += count;
            done += count;
            if (progress && done < total)
                progress(int(done * 100 / total));
        }
    }
    if (held > 0)
        FpgaWriteWindowed(window, REG_DEEP_WINDOW, 0, carry, held);
    SetFPGA_reg(load, static_cast<unsigned char>(0));
    delete[] resampled;
    return true;
}
