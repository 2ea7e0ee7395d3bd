// The channel's entries and its reactions to them: selection, checked edits
// and limits, coupling within the pair, sync-output frequency, load changes.
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"
#include "communication/SCPI/sys_error.h"

class ChannelSlots : public SignalTest {
protected:
    void SetUp() override
    {
        SignalTest::SetUp();
        Sys_ErrorClear();
    }
};

TEST_F(ChannelSlots, SelectionStoresTheKindAndMakesItsSignalCurrent)
{
    Channel& c = C(CH2);
    sys_param::SetChWorkMode(CH2, WORK_MODULATION);
    c.switchToBase(BASE_Ramp, 5);
    EXPECT_EQ(rec(CH2).BaseWave, u32(BASE_Ramp));
    EXPECT_EQ(c.currentBaseSignal, c.baseSignal.at(BASE_Ramp));
    EXPECT_EQ(c.currentBaseSignal->realType, int(MT_FSK)) << "carrier list built for the mode at index 5";
    const QVariantList l = c.switchToMod(5);
    EXPECT_EQ(rec(CH2).ModType, u32(MT_FSK));
    EXPECT_EQ(c.currentSignal, c.modulateSignal.at(5));
    EXPECT_EQ(l.size(), c.modlist.size());
    c.switchToScan(3);
    EXPECT_EQ(rec(CH2).SweepType, u32(ST_LIST));
    c.switchToBurst(2);
    EXPECT_EQ(rec(CH2).BurstType, u32(BT_INFINIT));
    Signal* before = c.currentSignal;
    EXPECT_TRUE(c.switchToBurst(3).isEmpty());
    EXPECT_TRUE(c.switchToMod(-1).isEmpty());
    EXPECT_EQ(c.currentSignal, before);
}

TEST_F(ChannelSlots, LowLimitAboveTheHighLimitRaisesTheHighLimit)
{
    Channel& c = C(CH1);
    rec(CH1).LimitH = 1.0;
    rec(CH1).LimitL = -1.0;
    c.entry(PARAM_INDEX_CHAMPLIMITL)->SetValue(2.0, 0);
    EXPECT_DOUBLE_EQ(rec(CH1).LimitL, 2.0);
    EXPECT_NEAR(rec(CH1).LimitH, 2.002, 1e-12);

    // A high limit below the low one pulls the low one down; both stay
    // within 10 V times the load gain (high impedance: 1).
    c.entry(PARAM_INDEX_CHAMPLIMITH)->SetValue(-3.0, 0);
    EXPECT_NEAR(rec(CH1).LimitL, -3.002, 1e-12);
    EXPECT_TRUE(
        c.CheckLimit(PARAM_INDEX_CHAMPLIMITH, c.entry(PARAM_INDEX_CHAMPLIMITH), c.entry(PARAM_INDEX_CHAMPLIMITL)));
    rec(CH1).LimitH = 12;
    c.CheckLimit(PARAM_INDEX_CHAMPLIMITH, c.entry(PARAM_INDEX_CHAMPLIMITH), c.entry(PARAM_INDEX_CHAMPLIMITL));
    EXPECT_DOUBLE_EQ(rec(CH1).LimitH, 10);
}

TEST_F(ChannelSlots, ACoupledValueOutsideThePartnersRangeIsRefused)
{
    CH_DATA& pair = rec(CH1);
    pair.ChCoupleFreqSW = true;
    pair.ChCoupleFreqType = false;
    pair.ChCoupleFreqRate = 1e4;
    rec(CH2).Frequency = 500;
    QSignalSpy tips(&C(CH1), &Channel::sendTipsMessage);
    C(CH1).entry(PARAM_INDEX_FREQ)->SetValue(1e5, 0);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 500);
    EXPECT_FALSE(C(CH2).entry(PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_FALSE(C(CH1).entry(PARAM_INDEX_FREQ)->m_couplestate);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(0).toInt(), int(MESSAGE_TYPE_ERROR));
    EXPECT_EQ(tips.at(0).at(1).toInt(), int(ERROR_COUPLE));
}

TEST_F(ChannelSlots, SyncFrequencyFollowsCarrierAndModeRate)
{
    CH_DATA& d = rec(CH1);
    d.SyncOut = true;
    d.Frequency = 1000;
    QSignalSpy applied(&C(CH3), &Channel::signalUpdated);
    C(CH1).SyncFreq(true);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 1000);
    EXPECT_EQ(applied.count(), 1);
    C(CH1).SyncFreq(false);
    EXPECT_EQ(applied.count(), 1);

    d.WorkMode = WORK_MODULATION;
    d.ModType = MT_AM;
    d.ModFre = 300;
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 300);
    d.ModSrc = true; // external modulation: the carrier's sync
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 1000);
    d.ModType = MT_QPSK;
    d.Bitrate = 4800;
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 4800);

    d.WorkMode = WORK_SCAN;
    d.SwpTime = 0.5;
    d.TrigerSource = TRIGSOURCE_INNER;
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 2);
    d.SwpTime = 0; // a corrupted sweep time gives no sync rather than no end
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], -1);

    d.WorkMode = WORK_BASE;
    d.BaseWave = BASE_Noise;
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], -1);

    d.BaseWave = BASE_Sine;
    d.SyncOut = false;
    d.Frequency = 10;
    C(CH1).SyncFreq(false);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], -1) << "no sync output: nothing recomputed";
}

TEST_F(ChannelSlots, LargestFrequencyAndAmplitude)
{
    CH_DATA& d = rec(CH1);
    d.Frequency = 1e6;
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxFreq(), 1e6);
    d.WorkMode = WORK_SCAN;
    d.SweepType = ST_LINE;
    d.SwpStartFre = 5e6;
    d.SwpEndFre = 2e6;
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxFreq(), 5e6);
    d.SweepType = ST_LIST;
    mem(CH1).listmaxfre = 7e6;
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxFreq(), 7e6);
    d.WorkMode = WORK_BASE;
    d.BaseWave = BASE_DC;
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxFreq(), 0);
    d.BaseWave = BASE_Sine;

    const double plain = C(CH1).GetMaxLimitAmpl();
    EXPECT_DOUBLE_EQ(plain, CSetParam::state.pCharacter[CH1].GetMaxAmpAtFreq(1e6));
    d.noiseSumSW = true;
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxLimitAmpl(), plain - 0.002);
    d.noiseSumSW = false;
    // Merging CH2 into CH1 leaves room only beside the partner's signal.
    d.ChMerge = 1;
    rec(CH2).Frequency = 1e6;
    rec(CH2).Vpp = 1.5;
    rec(CH2).Offset = -0.25;
    const double pm = CSetParam::state.pCharacter[CH2].GetMaxAmpAtFreq(1e6);
    EXPECT_DOUBLE_EQ(C(CH1).GetMaxLimitAmpl(), std::min(plain, pm) - 2 * 0.25 - 1.5);
}

TEST_F(ChannelSlots, LoadChangeKeepsTheLevelsAtTheLoad)
{
    CH_DATA& d = rec(CH1);
    d.Vpp = 2;
    d.Offset = 0.5;
    d.LimitH = 4;
    d.LimitL = -4;
    d.HarmonicSnAmp[0] = 1;
    ASSERT_EQ(d.Load, 1000000u);
    C(CH1).entry(PARAM_INDEX_CHLOAD)->SetValue(50, 0);
    const double r = (50.0 / (50.0 + 50.0)) / 1.0;
    EXPECT_DOUBLE_EQ(d.Vpp, 2 * r);
    EXPECT_DOUBLE_EQ(d.Offset, 0.5 * r);
    EXPECT_DOUBLE_EQ(d.LimitH, 4 * r);
    EXPECT_DOUBLE_EQ(d.LimitL, -4 * r);
    EXPECT_DOUBLE_EQ(d.HarmonicSnAmp[0], r);
}

TEST_F(ChannelSlots, AValueGivenInAnotherFormIsCheckedAgainstThatFormsLimits)
{
    channelModel* freq = C(CH3).entry(PARAM_INDEX_FREQ);
    ASSERT_EQ(freq->paramIndexInUse(), 0);
    // Period 1 s is inside the period limits, far outside the frequency ones.
    EXPECT_TRUE(freq->SetValue(1.0, 1));
    EXPECT_DOUBLE_EQ(rec(CH3).Period, 1.0);
    EXPECT_EQ(Sys_ErrorPop(), 0);
    // A form the entry does not have falls back to the form in use.
    EXPECT_FALSE(freq->SetValue(3e8, 7));
    EXPECT_DOUBLE_EQ(rec(CH3).Frequency, 2e8);
}

TEST_F(ChannelSlots, NarrowedLimitsBringTheStoredValueInside)
{
    channelModel* depth = C(CH2).entry(PARAM_INDEX_MODDEPTH);
    rec(CH2).ModDepth = 80;
    QSignalSpy changed(depth, &channelModel::valueChanged);
    EXPECT_FALSE(depth->SetRange(0, 50, 0));
    EXPECT_FLOAT_EQ(rec(CH2).ModDepth, 50);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(depth->UpdateRange()) << "inside now";
    EXPECT_FALSE(depth->SetRange(0, 50, 0)) << "unchanged limits check nothing";
    EXPECT_TRUE(depth->SetValueWitheCheck(50 + 5e-11, 0, 50, 0)) << "within the tolerance";
    EXPECT_FALSE(depth->SetValueWitheCheck(10, 20, 50, 5)) << "a form it does not have";
    EXPECT_FLOAT_EQ(rec(CH2).ModDepth, 50);
}

TEST_F(ChannelSlots, AChangedEntryRedrawsItsSignalAndAsksForTheApply)
{
    channelModel* sym = C(CH4).entry(PARAM_INDEX_SYMMETRY);
    rec(CH4).BaseWave = BASE_Ramp;
    C(CH4).switchToBase(BASE_Ramp, 0);
    EXPECT_EQ(sym->curSignal, C(CH4).baseSignal.at(BASE_Ramp));
    QSignalSpy updated(&C(CH4), &Channel::signalUpdated);
    mem(CH4).DispBase[0] = 12345;
    sym->SetValue(25, 0);
    EXPECT_EQ(updated.count(), 1);
    EXPECT_EQ(updated.last().at(0).toInt(), int(CH4));
    EXPECT_NE(mem(CH4).DispBase[0], 12345) << "the preview was drawn again";
    sym->SetValue(25, 0);
    EXPECT_EQ(updated.count(), 1) << "an unchanged value changes nothing";
}
