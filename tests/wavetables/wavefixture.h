#pragma once
// Common set-up of the waveform-table tests: factory record, fresh tables.
#include <gtest/gtest.h>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

class WaveTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        sys_param::setFactoryValues(sys_param::HWinfo);
        CWaveCreate::Init();
        std::memset(CWaveCreate::wavemem, 0, sizeof(CWaveCreate::wavemem));
        for (u32& b : CWaveCreate::bwavev)
            b = BASE_Unknown;
        std::memset(CWaveCreate::m_arb, 0, sizeof(CWaveCreate::m_arb));
    }
    static CH_DATA& rec(CH_ID c) { return sys_param::ch(c); }
    static SWaveMem& mem(CH_ID c) { return *CWaveCreate::GetWaveMem(c); }

    static bool withinPreviewScale(const short* t, int n)
    {
        for (int i = 0; i < n; ++i)
            if (t[i] < -100 || t[i] > 100)
                return false;
        return true;
    }
};
