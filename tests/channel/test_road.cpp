// The road of a parameter change without screens: channel 1 set to sine,
// 1000 Hz, 2 Vpp, output on; its apply leaves the work mode, the generator,
// the carrier, the amplitude path and the output relay in the FPGA, and the
// sine table streamed once.
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"

class Road : public SignalTest {};

TEST_F(Road, SineAt1kHz2VppOnChannel1)
{
    Channel& c = C(CH1);
    c.switchToBase(BASE_Sine, 0);
    QSignalSpy updated(&c, &Channel::signalUpdated);
    ASSERT_TRUE(c.entry(PARAM_INDEX_FREQ)->SetValue(1000, 0));
    ASSERT_TRUE(c.entry(PARAM_INDEX_AMP)->SetValue(2, 0));
    ASSERT_TRUE(c.entry(PARAM_INDEX_CHSWITCH)->SetValue(1, 0));
    ASSERT_GE(updated.count(), 3);
    for (const QList<QVariant>& args : updated)
        EXPECT_EQ(args.at(0).toInt(), int(CH1));
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, 1000);
    EXPECT_DOUBLE_EQ(rec(CH1).Vpp, 2);
    EXPECT_TRUE(sys_param::OnOff[CH1]);

    fpga().clearWrites();
    c.ChannelExe();

    EXPECT_EQ(chValue(CH1, REG_WORK_MODE, 1), uint64_t(FPGA_WM_BASE));
    EXPECT_EQ(chValue(CH1, REG_BASE_WAVE, 1), uint64_t(FPGA_BASE_SINE));
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1000));
    EXPECT_EQ(chValue(CH1, REG_OUTPUT, 1), 1u);
    EXPECT_EQ(chValue(CH1, REG_INVERT, 1), 0u);

    // The amplitude words themselves are checked against the output the
    // scope model measures (tests/scope).
    EXPECT_EQ(chValue(CH1, REG_NOISE_SUM_EN, 1), 0u);
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_FLATNESS), 1);

    // One period of the sine went to the wave memory, once.
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 1);
    const QVector<quint64> table = stream("table:1:base");
    ASSERT_EQ(table.size(), WAVE_BASE_POINTS);
    for (int i = 0; i < WAVE_BASE_POINTS; i += 1024)
        EXPECT_EQ(table[i], quint64(quint16(mem(CH1).Base[i]))) << i;
    EXPECT_EQ(table[2048], quint64(quint16(mem(CH1).Base[2048])));
    EXPECT_GT(short(table[2048]), 30000) << "a quarter period in: near full scale";

    fpga().clearWrites();
    c.ChannelExe();
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 0);
    EXPECT_TRUE(chWrites(CH1, REG_PHASE_INC).isEmpty()) << "unchanged frequency is not rewritten";
}
