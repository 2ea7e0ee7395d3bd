// The wave-memory change flag: raised by a rebuilt table, cleared by the
// channel when it uploads the table, and not raised again for a table that
// did not change.
#include "tests/wavetables/wavefixture.h"

namespace {
// What the channel execution does with the flag: upload and clear.
int uploads = 0;
void channelExe(CH_ID ch)
{
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (w->BaseWaveChanged) {
        w->BaseWaveChanged = false;
        ++uploads;
    }
}
}  // namespace

class ChangeFlags : public WaveTables {
protected:
    void SetUp() override
    {
        WaveTables::SetUp();
        uploads = 0;
    }
};

TEST_F(ChangeFlags, SineIsUploadedOnceUntilSomethingElseWasDrawn)
{
    CWaveCreate::CreateBaseWave(CH1, false);
    channelExe(CH1);
    EXPECT_EQ(uploads, 1);
    CWaveCreate::CreateBaseWave(CH1, false);
    channelExe(CH1);
    EXPECT_EQ(uploads, 1);
    // A forced redraw rebuilds it.
    CWaveCreate::CreateBaseWave(CH1, true);
    EXPECT_TRUE(mem(CH1).BaseWaveChanged);
    channelExe(CH1);
    // After a harmonic wave the sine has to go back into the wave memory.
    rec(CH1).BaseWave = BASE_Harmonic;
    CWaveCreate::CreateBaseWave(CH1, false);
    channelExe(CH1);
    rec(CH1).BaseWave = BASE_Sine;
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_TRUE(mem(CH1).BaseWaveChanged);
    EXPECT_EQ(std::memcmp(mem(CH1).Base, CWaveCreate::sintable, sizeof(mem(CH1).Base)), 0);
}

TEST_F(ChangeFlags, HarmonicFlagsOnlyAChangedSum)
{
    rec(CH2).BaseWave = BASE_Harmonic;
    CWaveCreate::CreateBaseWave(CH2, false);
    EXPECT_TRUE(mem(CH2).BaseWaveChanged);
    channelExe(CH2);
    CWaveCreate::CreateBaseWave(CH2, true);
    EXPECT_FALSE(mem(CH2).BaseWaveChanged);
    rec(CH2).HarmonicSnAmp[1] *= 2;  // the 3rd harmonic, on in the odd set
    CWaveCreate::CreateBaseWave(CH2, false);
    EXPECT_TRUE(mem(CH2).BaseWaveChanged);
}

TEST_F(ChangeFlags, ArbitraryTableIsRecopiedWhenItsFileOrItsSamplesChange)
{
    SWaveMem& w = mem(CH1);
    rec(CH1).BaseWave = BASE_Arb;
    for (int i = 0; i < 8192; ++i)
        w.Arb[i] = short(i);
    CWaveCreate::CreateBaseWave(CH1, false);
    channelExe(CH1);
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_FALSE(w.BaseWaveChanged);
    // Another file chosen.
    sys_param::SetChArbFileDir(CH1, "/usr/share/ArbWaveLib/Other.bsv", 31);
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_TRUE(w.BaseWaveChanged);
    channelExe(CH1);
    // The same file name loaded again with new samples.
    w.Arb[10] = -5;
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_TRUE(w.BaseWaveChanged);
    EXPECT_EQ(w.Base[10], -5);
}

TEST_F(ChangeFlags, EveryChannelKeepsItsOwnFlagAndMemo)
{
    CWaveCreate::CreateBaseWave(CH1, false);
    channelExe(CH1);
    rec(CH2).BaseWave = BASE_Ramp;
    CWaveCreate::CreateBaseWave(CH2, false);
    // CH1's sine is still current; CH3 has never been drawn.
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_FALSE(mem(CH1).BaseWaveChanged);
    CWaveCreate::CreateBaseWave(CH3, false);
    EXPECT_TRUE(mem(CH3).BaseWaveChanged);
}

TEST_F(ChangeFlags, CopiedTablesAreRebuiltOnTheTargetsNextDraw)
{
    rec(CH1).BaseWave = BASE_Ramp;
    CWaveCreate::CreateBaseWave(CH1, false);
    CWaveCreate::CreateBaseWave(CH2, false);  // CH2: sine, remembered
    channelExe(CH2);
    CWaveCreate::chcopy(CH1, CH2);
    EXPECT_EQ(std::memcmp(mem(CH1).Base, mem(CH2).Base, sizeof(mem(CH1).Base)), 0);
    // CH2 is still set to sine: its next draw must not trust the old memo.
    CWaveCreate::CreateBaseWave(CH2, false);
    EXPECT_TRUE(mem(CH2).BaseWaveChanged);
    EXPECT_EQ(std::memcmp(mem(CH2).Base, CWaveCreate::sintable, sizeof(mem(CH2).Base)), 0);
}
