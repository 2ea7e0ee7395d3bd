// Applying a channel: output off, switching on, mode after base, and the two
// alternative uses of CH3/CH4 (sync output, digital output).
#include "tests/signals/signal_fixture.h"

class ChannelExe : public SignalTest {};

TEST_F(ChannelExe, OutputOffParksTheChannelAtDcZeroWithTheRelayOpen)
{
    rec(CH2).ChInversion = true;
    rec(CH2).Frequency = 5e3;
    C(CH2).ChannelExe();
    // The relay opens first; a range switch of the amplitude path keeps it open.
    EXPECT_EQ(chWrites(CH2, REG_OUTPUT).first(), 0u);
    EXPECT_EQ(chValue(CH2, REG_OUTPUT, 1), 0u);
    EXPECT_EQ(chWrites(CH2, REG_WORK_MODE), QList<uint64_t> {0});
    EXPECT_EQ(chWrites(CH2, REG_BASE_WAVE).last(), uint64_t(FPGA_BASE_DC));
    EXPECT_TRUE(chWrites(CH2, REG_PHASE_INC).isEmpty());
    EXPECT_FALSE(writesAt(REG_SYNC_MANUAL).isEmpty());
    EXPECT_EQ(chWrites(CH2, REG_INVERT), QList<uint64_t> {1});
    EXPECT_LT(firstWrite(reg(CH2, REG_OUTPUT)), firstWrite(reg(CH2, REG_WORK_MODE)));
}

TEST_F(ChannelExe, SwitchingOnResetsThePhaseAccumulatorsOnce)
{
    sys_param::SetPhaseSyncType(CH_SYS, 1);
    sys_param::OnOff[CH1] = true;
    C(CH1).ChannelExe();
    EXPECT_EQ(chWrites(CH1, REG_OUTPUT).first(), 1u);
    EXPECT_EQ(chValue(CH1, REG_OUTPUT, 1), 1u);
    // The reset that follows the release of the trigger connector is the
    // one of switching on.
    EXPECT_GT(lastWrite(REG_SYNC_RESET), lastWrite(REG_TRIG_IO));
    EXPECT_TRUE(C(CH1).lastOnoff);

    fpga().clearWrites();
    C(CH1).ChannelExe();
    EXPECT_TRUE(writesAt(REG_SYNC_RESET).isEmpty());
}

TEST_F(ChannelExe, ModeSignalRunsAfterTheBaseSignal)
{
    Channel& c = C(CH1);
    sys_param::SetChWorkMode(CH1, WORK_BURST);
    c.switchToBase(BASE_Sine, 0);
    c.switchToBurst(0);
    EXPECT_EQ(rec(CH1).BurstType, u32(BT_NCYC));
    rec(CH1).Phase = 30;
    rec(CH1).BstStartPhase = 60;
    sys_param::OnOff[CH1] = true;
    fpga().clearWrites();
    c.ChannelExe();
    EXPECT_EQ(chWrites(CH1, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_NCYNC});
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), (QList<uint64_t> {ref::phaseWord(30), ref::phaseWord(60)}));
    EXPECT_LT(firstWrite(reg(CH1, REG_PHASE_INC)), firstWrite(reg(CH1, REG_WORK_MODE)));
}

TEST_F(ChannelExe, SyncOutputUseShowsTheSourceSyncOrDcZero)
{
    Channel& sync = C(CH3);
    sync.alterfun = CHANNEL_ALTERFUN_SYNCOUT;
    sys_param::SetPhaseSyncType(CH_SYS, 0);
    sys_param::OnOff[CH1] = true;
    sys_param::SyncFrequency[CH3] = 0;
    sync.ChannelExe();
    EXPECT_EQ(chWrites(CH3, REG_WORK_MODE), QList<uint64_t> {0});
    EXPECT_EQ(chWrites(CH3, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_DC});
    EXPECT_EQ(chWrites(CH3, REG_PHASE_INC), QList<uint64_t> {0});
    EXPECT_EQ(chWrites(CH3, REG_OUTPUT).last(), 1u) << "follows the source's output";
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0})) << "forced";
    EXPECT_FALSE(sync.lastOnoff);

    fpga().clearWrites();
    rec(CH1).SyncRevers = true;
    sys_param::SyncFrequency[CH3] = 1e5;
    sys_param::OnOff[CH1] = false;
    sync.ChannelExe();
    EXPECT_EQ(chWrites(CH3, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_SQUARE});
    EXPECT_EQ(chValue(CH3, REG_PHASE_INC, 8), ref::inc64(1e5));
    EXPECT_EQ(chValue(CH3, REG_PULSE_DUTY, 6), ref::depthWord(50));
    EXPECT_EQ(chWrites(CH3, REG_START_PHASE), QList<uint64_t> {0});
    EXPECT_EQ(chWrites(CH3, REG_INVERT), QList<uint64_t> {1});
    EXPECT_EQ(chWrites(CH3, REG_OUTPUT).last(), 0u);
}

TEST_F(ChannelExe, DigitalOutputUseClocksAtTheProtocolRate)
{
    Channel& dig = C(CH4);
    dig.alterfun = CHANNEL_ALTERFUN_DIGITAL;
    sys_param::HWinfo.digitalType = DIGITAL_UART;
    sys_param::HWinfo.digitalUARTBaudrate = 115200;
    dig.ChannelExe();
    EXPECT_EQ(chWrites(CH4, REG_BASE_WAVE), QList<uint64_t> {0});
    EXPECT_EQ(chWrites(CH4, REG_FILTER), QList<uint64_t> {1});
    EXPECT_EQ(chValue(CH4, REG_PHASE_INC, 8), ref::inc64(115200));
    EXPECT_EQ(chValue(CH4, REG_OUTPUT, 1), 1u);

    fpga().clearWrites();
    CSetParam::ForgetWrittenState();
    sys_param::HWinfo.digitalType = DIGITAL_I2C;
    sys_param::HWinfo.digitalI2CClk = 4e5f;
    dig.ChannelExe();
    EXPECT_EQ(chValue(CH4, REG_PHASE_INC, 8), ref::inc64(4e5));
}
