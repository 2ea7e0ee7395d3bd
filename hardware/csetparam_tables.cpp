// Wave-table, modulation-table and frequency-list uploads.
//
// The table port takes a target (REG_TABLE_SELECT = channel * 4 + kind), a
// load enable and then the whole table as one 16-bit word stream into
// REG_TABLE_DATA; the FPGA needs a short pause after a wave table before the
// generator reads it. The frequency list has a port of its own with one
// 36-bit entry per write.
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "Method/GlobalMethod.h"
#include "hardware/fpga_scales.h"
#include <QDebug>
#include <QThread>
#include <cmath>
#include <cstring>
#include <vector>

using namespace fpga_scale;

namespace {
void sendTable(CH_ID ch, unsigned kind, const short* words, int n)
{
    CSetParam::SetFPGA_reg(REG_TABLE_SELECT, static_cast<unsigned char>(unsigned(ch) * 4 + kind));
    CSetParam::SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(1));
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, reinterpret_cast<const unsigned short*>(words), n);
    CSetParam::SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(0));
    QThread::usleep(10);
}
} // namespace

void CSetParam::SetBaseWaveData(CH_ID ch, const short* data, int len, bool deep)
{
    if (len < 1) {
        qWarning("error %s len <= 0", "SetBaseWaveData");
        return;
    }
    if (data == nullptr) {
        qWarning("error %s pValue == NULL", "SetBaseWaveData");
        return;
    }
    if (!IsChannel(ch))
        return;
    if (deep && (ch == CH1 || ch == CH2)) {
        SetDeepWaveData(ch, data, len);
        return;
    }
    // The wave memory plays one period of 8192 words. A table of that length
    // goes as it is; any other length is resampled to it, so that nothing is
    // read beyond the caller's samples.
    // The samples leave from a copy of their own, so the caller's table may
    // change while the transfer runs.
    std::vector<short> buffer(WAVE_BASE_POINTS);
    if (len == WAVE_BASE_POINTS)
        std::memcpy(buffer.data(), data, buffer.size() * sizeof(short));
    else
        GlobalMethod::SampleLine(buffer.data(), WAVE_BASE_POINTS, data, len);
    sendTable(ch, TABLE_KIND_BASE, buffer.data(), WAVE_BASE_POINTS);
}

void CSetParam::SetModWaveData(CH_ID ch, const short* data, int len)
{
    if (!IsChannel(ch) || data == nullptr || len < 1)
        return;
    if (len > WAVE_MOD_POINTS) {
        qWarning("mod size:%d out of range", len);
        len = WAVE_MOD_POINTS; // the modulation memory holds 2048 words
    }
    const std::vector<short> buffer(data, data + len);
    sendTable(ch, TABLE_KIND_MOD, buffer.data(), len);
}

void CSetParam::SetListData(CH_ID ch, const double* freqs, int n)
{
    if (!IsChannel(ch) || freqs == nullptr || n < 0)
        return;
    if (n > WAVE_MOD_POINTS)
        n = WAVE_MOD_POINTS;
    SetFPGA_reg(REG_LIST_CH, static_cast<unsigned char>(1u << unsigned(ch)));
    SetFPGA_reg(REG_LIST_LOAD, static_cast<unsigned char>(1));
    for (int i = 0; i < n; ++i) {
        // 36-bit increments; a frequency beyond the 36 bits saturates.
        const uint64_t e = std::min<uint64_t>(toWord(freqs[i] * W36 / FCLK, 8), (uint64_t(1) << 36) - 1);
        SetFPGA_reg(REG_LIST_DATA, static_cast<unsigned long long>(e), 5u);
    }
    SetFPGA_reg(REG_LIST_LOAD, static_cast<unsigned char>(0));
}
