// The amplitude path: switch-code choice and sequence, offset-DAC words,
// amplitude scale, flatness upload and its cache, merge and noise gains.
#include "tests/regs/regs_fixture.h"
#include "param/CUnit.h"

namespace {
const double DCGAIN = 0.18181818181818182; // 2/11 without the amplifier
const double COARSE = 0.8999799559029866;  // mV per coarse step
const double FINE = 0.10002004409701343;   // mV per fine step

struct Dac {
    unsigned coarse, fine;
};
// Offset-DAC words for a level v before the output stage on a range with
// DC gain g.
Dac dacWords(double v, double g)
{
    double x = (v / g + 12.288) / 6.0;
    x = x < 0 ? 0 : (x > 4.096 ? 4.096 : x);
    double c = std::trunc(std::trunc(x * 10) * 100 / COARSE);
    c = c > 4095 ? 4095 : c;
    double f = std::trunc((x - c * COARSE / 1000) / FINE * 1000);
    f = f > 4095 ? 4095 : (f < 0 ? 0 : f);
    return Dac {unsigned(c), unsigned(f)};
}
// The two REG_OFS_DAC words of a channel.
QList<uint64_t> dacPair(CH_ID ch, Dac d)
{
    const bool first = ch == CH1 || ch == CH3;
    return {uint64_t(d.coarse | (first ? 0x8000 : 0)), uint64_t(d.fine | 0x1000 | (first ? 0xC000 : 0x4000))};
}
} // namespace

TEST_F(RegsTest, OffsetDacWordsPerChannelLoadCalibrationAndClamp)
{
    CSetParam::SetOffset(CH1, 0, 1.0, false);
    EXPECT_EQ(writesAt(REG_OFS_DAC_SEL), (QList<uint64_t> {0}));
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH1, dacWords(1.0, DCGAIN)));

    // CH4: the second DAC, second output; inverted; into 50 ohm (x2 open circuit).
    rec(CH4).Load = 50;
    fpga().clearWrites();
    CSetParam::SetOffset(CH4, 8, 0.25, true);
    EXPECT_EQ(writesAt(REG_OFS_DAC_SEL), (QList<uint64_t> {1}));
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH4, dacWords(-0.5, DCGAIN)));

    // The amplifier range has six times the DC gain.
    fpga().clearWrites();
    CSetParam::SetOffset(CH3, 9, 3.0, false);
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH3, dacWords(3.0, 6 * DCGAIN)));

    // DC calibration a v + 2 b of the range (left out while calibrating:
    // CalTest.DcCalibrationQuietsThePathAndWritesRawOffsets).
    ASSERT_TRUE(CSetParam::state.pCharacter[CH2].SetDCCalValue(0, 1.01, 0.003));
    fpga().clearWrites();
    CSetParam::SetOffset(CH2, 0, 1.0, false);
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH2, dacWords(1.01 * 1.0 + 2 * 0.003, DCGAIN)));

    // Beyond the DAC's reach: x held at 4.096 (coarse 4095) or 0.
    fpga().clearWrites();
    CSetParam::SetOffset(CH1, 0, 20.0, false);
    const QList<uint64_t> hi = writesAt(REG_OFS_DAC);
    ASSERT_EQ(hi.size(), 2);
    EXPECT_EQ(hi[0], uint64_t(4095 | 0x8000));
    EXPECT_EQ(hi, dacPair(CH1, dacWords(20.0, DCGAIN)));
    fpga().clearWrites();
    CSetParam::SetOffset(CH1, 0, -20.0, false);
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH1, Dac {0, 0}));
}

TEST_F(RegsTest, FirstAmplitudeRunsTheSwitchSequenceInOrder)
{
    sys_param::SetPhaseSyncType(CH_SYS, 1);
    sys_param::OnOff[CH1] = true;
    CSetParam::SetAmpOffset(CH1, 1e3, 1.0, 0.5, false, false, false, 0);

    const unsigned O = reg(CH1, 0);
    const QList<unsigned> expected = {O | REG_OUTPUT,   REG_OFS_DAC_SEL,      REG_OFS_DAC,
                                      REG_OFS_DAC,      O | REG_VOL_ADJ, // quiet the output
                                      O | REG_ATT,      O | REG_OUTPUT,       REG_SYNC_RESET,
                                      REG_SYNC_RESET,                                      // switch, back on
                                      REG_OFS_DAC_SEL,  REG_OFS_DAC,          REG_OFS_DAC, // offset
                                      REG_TABLE_SELECT, REG_TABLE_LOAD,       REG_TABLE_DATA,
                                      REG_TABLE_LOAD,                                                 // flatness
                                      O | REG_VOL_ADJ,  O | REG_NOISE_SUM_EN, O | REG_NOISE_SUM_GAIN, // scale, noise
                                      O | REG_MERGE_EN, O | REG_MERGE_GAIN};
    EXPECT_EQ(addresses(), expected);

    // 1 Vpp on the 4 Vpp range (code 0): offset 0 on the smallest range while
    // switching, then 0.5 V on code 0.
    EXPECT_EQ(writesAt(O | REG_OUTPUT), (QList<uint64_t> {0, 1}));
    EXPECT_EQ(writesAt(O | REG_ATT), (QList<uint64_t> {0}));
    EXPECT_EQ(writesAt(O | REG_VOL_ADJ), (QList<uint64_t> {1, uint64_t(1.0 / 4.0 * 65535)}));
    EXPECT_EQ(writesAt(REG_OFS_DAC), dacPair(CH1, dacWords(0, DCGAIN)) + dacPair(CH1, dacWords(0.5, DCGAIN)));
    EXPECT_EQ(writesAt(O | REG_NOISE_SUM_EN), (QList<uint64_t> {0}));
    EXPECT_EQ(writesAt(O | REG_NOISE_SUM_GAIN), (QList<uint64_t> {65535}));
    EXPECT_EQ(writesAt(O | REG_MERGE_EN), (QList<uint64_t> {0}));
    EXPECT_EQ(writesAt(O | REG_MERGE_GAIN), (QList<uint64_t> {0}));
    EXPECT_EQ(value(REG_TABLE_SELECT, 1), uint64_t(CH1 * 4 + 2));
    const QVector<quint64> flat = stream("table:1:flat");
    EXPECT_EQ(flat.size(), 4096);
    EXPECT_EQ(flat.count(65535), 4096);
    EXPECT_EQ(CSetParam::state.m_ATT[CH1], 0);
}

TEST_F(RegsTest, UnchangedRangeSkipsTheSwitchAndTheFlatnessUpload)
{
    CSetParam::SetAmpOffset(CH2, 1e3, 1.0, 0, false, false, false, 0);
    fpga().clearWrites();
    CSetParam::SetAmpOffset(CH2, 1e3, 1.0, 0, false, false, false, 0);
    const unsigned O = reg(CH2, 0);
    EXPECT_EQ(addresses(),
              (QList<unsigned> {O | REG_ATT, REG_OFS_DAC_SEL, REG_OFS_DAC, REG_OFS_DAC, O | REG_VOL_ADJ,
                                O | REG_NOISE_SUM_EN, O | REG_NOISE_SUM_GAIN, O | REG_MERGE_EN, O | REG_MERGE_GAIN}));
    // A new amplitude on the same range reloads the flatness table only.
    fpga().clearWrites();
    CSetParam::SetAmpOffset(CH2, 1e3, 2.0, 0, false, false, false, 0);
    EXPECT_FALSE(addresses().contains(O | REG_OUTPUT));
    EXPECT_EQ(writesAt(REG_TABLE_LOAD), (QList<uint64_t> {1, 0}));
    EXPECT_EQ(writesAt(O | REG_VOL_ADJ), (QList<uint64_t> {uint64_t(2.0 / 4.0 * 65535)}));
    // A different range switches again.
    fpga().clearWrites();
    CSetParam::SetAmpOffset(CH2, 1e3, 0.2, 0, false, false, false, 0);
    EXPECT_EQ(writesAt(O | REG_ATT), (QList<uint64_t> {8}));
    EXPECT_EQ(writesAt(O | REG_OUTPUT), (QList<uint64_t> {0, 0})); // back to its state: off
    // Code 8 (0.3 Vpp) runs its DAC level 3.4 times lower.
    EXPECT_EQ(writesAt(O | REG_VOL_ADJ), (QList<uint64_t> {1, uint64_t(0.2 / 3.4 / 0.3 * 65535)}));
}

// The partner's wave and offset added at the connector: Scope.MergeAddsThePartnersWave.
TEST_F(RegsTest, MergeAddsThePartnerOnlyWhileItsOutputIsOn)
{
    rec(CH2).Vpp = 0.5;
    rec(CH2).Offset = 0.2;
    sys_param::OnOff[CH2] = false;
    CSetParam::SetAmpOffset(CH1, 1e3, 1.0, 0.3, true, false, false, 0);
    EXPECT_EQ(chValue(CH1, REG_MERGE_EN, 1), 0u);
    EXPECT_EQ(chValue(CH1, REG_MERGE_GAIN, 2), 0u);
    // After the range switch's zero offset, CH1's own offset alone.
    EXPECT_EQ(writesAt(REG_OFS_DAC).mid(2), dacPair(CH1, dacWords(0.3, DCGAIN)));
}

TEST_F(RegsTest, MeasuredFlatnessIsUploadedAndFeedsTheNoiseGain)
{
    ACAmpFre* curve = CSetParam::state.pCharacter[CH1].GetATTtoAmpForMap(0, 1.0);
    ASSERT_NE(curve, nullptr);
    curve->Points = {ACFrePiont {1e6, 0.9, 0, 0}};
    const unsigned short w = static_cast<unsigned short>(0.9 * 65535);

    rec(CH1).BaseWave = BASE_Sine;
    const float snr = 10.0f;
    CSetParam::SetAmpOffset(CH1, 1e3, 1.0, 0, false, false, true, snr);
    const QVector<quint64> flat = stream("table:1:flat");
    ASSERT_EQ(flat.size(), 4096);
    EXPECT_EQ(flat.first(), w);
    EXPECT_EQ(flat.last(), w);
    EXPECT_EQ(CSetParam::state.m_NoiseSumCal[CH1], w);

    // The signal makes room for the noise; the noise gain follows the
    // flatness at the noise reference point.
    const double nr = (snr / CUnit::VppToVrmsRatio(CH1, BASE_Sine, 1e3)) * CUnit::GaussianNoiseRatioRatio();
    const double amp = std::trunc(1.0 / (nr / (nr + 1)) * 1000 + 1e-5) / 1000;
    ASSERT_LE(amp, 4.0); // still the 4 Vpp range
    const double ratio = 1.0 / 4.0;
    EXPECT_EQ(chValue(CH1, REG_ATT, 1), 0u);
    EXPECT_EQ(chValue(CH1, REG_VOL_ADJ, 2), uint64_t(ratio * 65535));
    EXPECT_EQ(chValue(CH1, REG_NOISE_SUM_EN, 1), 1u);
    const double g = std::fmin(w * (ratio / nr) / 65535 / 1.3, 1.0);
    EXPECT_EQ(chValue(CH1, REG_NOISE_SUM_GAIN, 2), uint64_t(g * 65535));

    // A zero signal-to-noise ratio adds no noise instead of dividing by 0.
    CSetParam::SetAmpOffset(CH1, 1e3, 1.0, 0, false, false, true, 0.0f);
    EXPECT_EQ(chValue(CH1, REG_NOISE_SUM_EN, 1), 0u);
}

TEST_F(RegsTest, BigDcNoiseGainSaturates)
{
    CSetParam::SetAmpBigDC(CH3, 2.0, 4.0, 0.25, true);
    EXPECT_EQ(chValue(CH3, REG_VOL_ADJ, 2), uint64_t(0.5 * 65535));
    EXPECT_EQ(chValue(CH3, REG_NOISE_SUM_GAIN, 2), 65535u); // ratio / noiseRef = 2 -> 1
    CSetParam::SetAmpBigDC(CH3, 2.0, 4.0, 0.25, false);
    EXPECT_EQ(chValue(CH3, REG_NOISE_SUM_GAIN, 2), 0u);
    CSetParam::SetAmpBigDC(CH3, 1.0, 4.0, 0.5, true);
    EXPECT_EQ(chValue(CH3, REG_NOISE_SUM_GAIN, 2), uint64_t(0.5 * 65535));
}
