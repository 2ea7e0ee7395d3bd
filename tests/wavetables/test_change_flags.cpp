// The wave-memory change flag: raised by a rebuilt table, cleared by the
// channel when it uploads the table (done here by hand), and not raised
// again for a table that did not change.
#include "tests/wavetables/wavefixture.h"

class ChangeFlags : public WaveTables {
protected:
    // Draws the base wave; true when the channel would have to upload it.
    static bool draw(CH_ID ch, bool force = false)
    {
        CWaveCreate::CreateBaseWave(ch, force);
        const bool changed = mem(ch).BaseWaveChanged;
        mem(ch).BaseWaveChanged = false;
        return changed;
    }
};

TEST_F(ChangeFlags, SineIsUploadedOnceUntilSomethingElseWasDrawn)
{
    EXPECT_TRUE(draw(CH1));
    EXPECT_FALSE(draw(CH1));
    EXPECT_TRUE(draw(CH1, true)); // a forced redraw rebuilds it
    // After a harmonic wave the sine has to go back into the wave memory.
    rec(CH1).BaseWave = BASE_Harmonic;
    EXPECT_TRUE(draw(CH1));
    rec(CH1).BaseWave = BASE_Sine;
    EXPECT_TRUE(draw(CH1));
    EXPECT_EQ(std::memcmp(mem(CH1).Base, CWaveCreate::sintable, sizeof(mem(CH1).Base)), 0);
}

TEST_F(ChangeFlags, HarmonicFlagsOnlyAChangedSum)
{
    rec(CH2).BaseWave = BASE_Harmonic;
    EXPECT_TRUE(draw(CH2));
    EXPECT_FALSE(draw(CH2, true));
    rec(CH2).HarmonicSnAmp[1] *= 2; // the 3rd harmonic, on in the odd set
    EXPECT_TRUE(draw(CH2));
}

TEST_F(ChangeFlags, ArbitraryTableIsRecopiedWhenItsFileOrItsSamplesChange)
{
    SWaveMem& w = mem(CH1);
    rec(CH1).BaseWave = BASE_Arb;
    for (int i = 0; i < 8192; ++i)
        w.Arb[i] = short(i);
    EXPECT_TRUE(draw(CH1));
    EXPECT_FALSE(draw(CH1));
    sys_param::SetChArbFileDir(CH1, "/usr/share/ArbWaveLib/Other.bsv", 31);
    EXPECT_TRUE(draw(CH1));
    // The same file name loaded again with new samples.
    w.Arb[10] = -5;
    EXPECT_TRUE(draw(CH1));
    EXPECT_EQ(w.Base[10], -5);
}

TEST_F(ChangeFlags, EveryChannelKeepsItsOwnFlagAndMemo)
{
    EXPECT_TRUE(draw(CH1));
    rec(CH2).BaseWave = BASE_Ramp;
    draw(CH2);
    // CH1's sine is still current; CH3 has never been drawn.
    EXPECT_FALSE(draw(CH1));
    EXPECT_TRUE(draw(CH3));
}

TEST_F(ChangeFlags, CopiedTablesAreRebuiltOnTheTargetsNextDraw)
{
    rec(CH1).BaseWave = BASE_Ramp;
    draw(CH1);
    draw(CH2); // CH2: sine, remembered
    CWaveCreate::chcopy(CH1, CH2);
    EXPECT_EQ(std::memcmp(mem(CH1).Base, mem(CH2).Base, sizeof(mem(CH1).Base)), 0);
    // CH2 is still set to sine: its next draw must not trust the old memo.
    EXPECT_TRUE(draw(CH2));
    EXPECT_EQ(std::memcmp(mem(CH2).Base, CWaveCreate::sintable, sizeof(mem(CH2).Base)), 0);
}
