// Calibration states and calibrated flatness tables as the simulated FPGA
// received them.
#include <QFile>
#include <cmath>
#include "tests/calibration/cal_fixture.h"

namespace {

const double kStep = 152587.890625; // flatness word spacing, FCLK / 2048

quint64 w16(short s) { return quint64(uint16_t(s)); }

uint64_t lastChWrite(int ch, unsigned offset)
{
    const QList<uint64_t> w = FpgaProbe::chWrites(ch, offset);
    return w.isEmpty() ? ~uint64_t(0) : w.last();
}

// Offset-DAC words written by one SetOffset call.
QList<uint64_t> offsetWords(CH_ID ch, unsigned char code, double volts)
{
    FpgaProbe::fpga().clearWrites();
    CSetParam::SetOffset(ch, code, volts, false);
    return FpgaProbe::writesAt(REG_OFS_DAC);
}

// The calibration of the 0.1 V curve of CH1's range 8, as the station sends it.
const char* kCurveText = "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n"
                         "[1.000e+03:0.998000]\r\n[1.000e+07:0.990000]\r\n[CH:END]\r\n[T:END]\r\n";

// The flatness word at k along that curve, temperature factor u * change.
unsigned expectedWord(int k, double change)
{
    const double x = k * kStep;
    double g;
    if (x <= 1000.0)
        g = 0.998;
    else if (x >= 1e7)
        g = 0.990;
    else
        g = (0.998 * (1e7 - x) + 0.990 * (x - 1000.0)) / (1e7 - 1000.0);
    const double v = g * 65535.0 * (1.0 + change) + 0.5;
    return v >= 65535.0 ? 65535u : unsigned(v);
}

} // namespace

TEST_F(CalTest, DcCalibrationQuietsThePathAndWritesRawOffsets)
{
    CSetParam::state.m_ATT[1] = 8;
    CSetParam::state.m_VPP[1] = 1.0;
    CSetParam::SetSatuseCalDc(CH2);
    EXPECT_TRUE(CSetParam::state.isDcCal);
    EXPECT_FALSE(CSetParam::state.isAcCal);
    EXPECT_EQ(lastChWrite(1, REG_VOL_ADJ), 1u); // scale 0 goes out as 1
    EXPECT_EQ(lastChWrite(1, REG_MERGE_EN), 0u);
    EXPECT_EQ(lastChWrite(1, REG_NOISE_SUM_EN), 0u);
    EXPECT_EQ(lastChWrite(1, REG_WORK_MODE), 0u);
    EXPECT_EQ(lastChWrite(1, REG_BASE_WAVE), 5u);
    EXPECT_EQ(CSetParam::state.m_ATT[1], 255);
    EXPECT_EQ(CSetParam::state.m_VPP[1], 0.0);
    // No other channel was touched.
    EXPECT_TRUE(chWrites(0, REG_BASE_WAVE).isEmpty());

    // While calibrating, the offset goes out without the stored correction;
    // in verification it is corrected.
    const QList<uint64_t> bare = offsetWords(CH2, 9, 1.0);
    chr(1).SetDCCalValue(9, 1.2, 0.05);
    EXPECT_EQ(offsetWords(CH2, 9, 1.0), bare);
    CSetParam::SetSatuseVerifyDc(CH2);
    EXPECT_FALSE(CSetParam::state.isDcCal);
    EXPECT_FALSE(CSetParam::state.isAcCal);
    EXPECT_NE(offsetWords(CH2, 9, 1.0), bare);
}

TEST_F(CalTest, AcCalibrationPlaysTheSineThroughAFlatPath)
{
    CSetParam::LoadCalData(kCurveText);
    fpga().clearWrites();
    CSetParam::SetSatuseCalAc(CH1);
    EXPECT_FALSE(CSetParam::state.isDcCal);
    EXPECT_TRUE(CSetParam::state.isAcCal);
    EXPECT_EQ(lastChWrite(0, REG_BASE_WAVE), 0u);
    EXPECT_EQ(lastChWrite(0, REG_WORK_MODE), 0u);
    EXPECT_EQ(lastChWrite(0, REG_FILTER), 1u);
    EXPECT_EQ(lastChWrite(0, REG_VOL_ADJ), 1u);
    EXPECT_EQ(lastChWrite(0, REG_MERGE_EN), 0u);
    EXPECT_EQ(lastChWrite(0, REG_NOISE_SUM_EN), 0u);
    const QVector<quint64> base = stream("table:1:base");
    ASSERT_EQ(base.size(), 8192);
    for (int i = 0; i < 8192; i += 97)
        ASSERT_EQ(base[i], w16(short(std::trunc(32767.0 * std::sin(2.0 * M_PI * i / 8192.0))))) << i;
    EXPECT_EQ(base[2048], w16(32767));

    // The measured path is bare: a flat table in spite of the curve.
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    const QVector<quint64> flat = stream("table:1:flat");
    ASSERT_EQ(flat.size(), 4096);
    for (quint64 w : flat)
        ASSERT_EQ(w, 65535u);

    // Verification applies the curve.
    CSetParam::SetSatuseVerifyAc(CH1);
    EXPECT_FALSE(CSetParam::state.isAcCal);
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    const QVector<quint64> cal = stream("table:1:flat");
    ASSERT_EQ(cal.size(), 4096);
    EXPECT_EQ(cal[0], 65404u);  // 0.998 x 65535
    EXPECT_EQ(cal[66], 64880u); // 0.990 x 65535, the first word above 10 MHz
    EXPECT_EQ(cal[4095], 64880u);
    for (int k = 1; k < 66; ++k)
        ASSERT_EQ(cal[k], expectedWord(k, 0.0)) << k;
}

TEST_F(CalTest, TheBoardThermometerBendsTheFlatnessTable)
{
    writeBoardFile(CSetParam::kCalFile, kCurveText);
    writeBoardFile(CSetParam::kHTempFile,
                   "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.950000]\r\n"
                   "[1.000e+07:0.950000]\r\n[CH:END]\r\n[T:END]\r\n");
    ASSERT_TRUE(CSetParam::LoadCalData(QString()));
    CSetParam::LoadTempCalData();

    // The simulated one-wire sensor at 49 degC: halfway to the hot end, where
    // the gain is 0.95 of nominal.
    writeBoardFile(SimRoot::kThermometerFile,
                   "4b 01 4b 46 7f ff 05 10 e1 : crc=e1 YES\n"
                   "4b 01 4b 46 7f ff 05 10 e1 t=49000\n");
    CSetParam::state.boardtemp = float(misc::ReadDS18B20());
    EXPECT_FLOAT_EQ(CSetParam::state.boardtemp, 49.0f);
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    QVector<quint64> t = stream("table:1:flat");
    ASSERT_EQ(t.size(), 4096);
    const double u = (49.0 - 43.0) / 12.0;
    EXPECT_EQ(t[0], expectedWord(0, u * -0.05));
    EXPECT_EQ(t[66], expectedWord(66, u * -0.05));
    EXPECT_LT(t[0], 65404u);

    // Back at the reference temperature the table is as measured; the same
    // sensor file is read again from its start.
    writeBoardFile(SimRoot::kThermometerFile, "4b 01 4b 46 7f ff 05 10 e1 t=43000\n");
    CSetParam::state.boardtemp = float(misc::ReadDS18B20());
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    t = stream("table:1:flat");
    EXPECT_EQ(t[0], 65404u);
    EXPECT_EQ(t[66], 64880u);
}

TEST_F(CalTest, ReceivedCalibrationReachesTheNextApply)
{
    // A table already programmed for this range and amplitude is normally
    // skipped; new calibration data must be programmed.
    CSetParam::SetATT(CH1, 8);
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    EXPECT_EQ(stream("table:1:flat").value(0), 65535u);
    CSetParam::LoadCalData(kCurveText);
    CSetParam::SetATT(CH1, 8);
    fpga().clearWrites();
    CSetParam::SetAmp(CH1, 8, 0.1, 0.1, 1.0, false);
    EXPECT_EQ(stream("table:1:flat").value(0), 65404u);
}
