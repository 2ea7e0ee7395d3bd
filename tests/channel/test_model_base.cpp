// The entry base the channel relies on: checked edits, range changes, the
// input form in use, and the change processing towards signal and channel.
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"
#include "communication/SCPI/sys_error.h"

class ModelBase : public SignalTest {
protected:
    void SetUp() override
    {
        SignalTest::SetUp();
        Sys_ErrorClear();
    }
};

TEST_F(ModelBase, AnEditOutsideTheLimitsIsClampedAppliedAndReported)
{
    channelModel* phase = C(CH1).entry(PARAM_INDEX_PHASE);
    QSignalSpy changed(phase, &channelModel::valueChanged);
    EXPECT_FALSE(phase->SetValue(400, 0));
    EXPECT_DOUBLE_EQ(rec(CH1).Phase, 360);
    EXPECT_EQ(Sys_ErrorPop(), -801);
    EXPECT_GE(changed.count(), 1);
    EXPECT_TRUE(phase->SetValue(-12.5, 0));
    EXPECT_DOUBLE_EQ(rec(CH1).Phase, -12.5);
    EXPECT_EQ(Sys_ErrorPop(), 0);
    EXPECT_EQ(phase->rlistvalue(), QString::fromUtf8("-12.500 °"));
}

TEST_F(ModelBase, AValueGivenInAnotherFormIsCheckedAgainstThatFormsLimits)
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

TEST_F(ModelBase, NarrowedLimitsBringTheStoredValueInside)
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

TEST_F(ModelBase, AChangedEntryRedrawsItsSignalAndAsksForTheApply)
{
    channelModel* sym = C(CH4).entry(PARAM_INDEX_SYMMETRY);
    rec(CH4).BaseWave = BASE_Ramp;
    C(CH4).switchToBase(BASE_Ramp, 0);
    EXPECT_EQ(sym->curSignal, C(CH4).baseSignal.at(BASE_Ramp));
    QSignalSpy updated(&C(CH4), &Channel::signalUpdated);
    mem(CH4).DispBase[0] = 12345;
    sym->SetValue(25, 0);
    EXPECT_EQ(updated.count(), 1);
    EXPECT_NE(mem(CH4).DispBase[0], 12345) << "the preview was drawn again";
}
