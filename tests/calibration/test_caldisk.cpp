// Calibration and temperature factor files on the board's disk.
#include <QFileInfo>
#include <cstdio>
#include "tests/calibration/cal_fixture.h"
#include "platform/shellrunner.h"

namespace {

const char* testSerial() { return "SN-CAL-0042"; }

// Every range of every channel gets its own DC correction and every channel
// a few curves, so that each value of the file is distinct.
void fillAllChannels()
{
    for (int ch = 0; ch < 4; ++ch) {
        CChCharacter& c = CSetParam::state.pCharacter[ch];
        int r = 0;
        for (AmpSWMap& m : c.AmpSWMaps) {
            ASSERT_TRUE(c.SetDCCalValue(m.ATT, 1.0 + 0.01 * ch + 0.001 * r, -0.002 * r + 0.0001 * ch));
            ++r;
        }
        const unsigned char codes[2] = {8, 1};
        for (unsigned char code : codes) {
            for (double v : {0.1 * (ch + 1), 0.25 * (ch + 1)}) {
                std::vector<ACFrePiont>* p = &c.GetATTtoAmpForMap(code, v)->Points;
                CChCharacter::SetAddACCalValue(p, 1000.0, 0.999 - 0.001 * ch);
                CChCharacter::SetAddACCalValue(p, 1.234e6 * (ch + 1), 0.98 + v / 100);
                CChCharacter::SetAddACCalValue(p, 9.876e7, 0.951);
            }
            c.SortACCalValue(code);
        }
    }
}

// The file as the format strings give it, built here with the C library.
QByteArray expectedFile(const char* sn)
{
    QByteArray out;
    char line[256];
    std::snprintf(line, sizeof line, "[SN:%s]\r\n", sn);
    out += line;
    for (int ch = 0; ch < 4; ++ch) {
        std::snprintf(line, sizeof line, "[T:DC]\r\n[CH:%d]\r\n", ch);
        out += line;
        for (const AmpSWMap& m : CSetParam::state.pCharacter[ch].AmpSWMaps) {
            std::snprintf(line, sizeof line, "[ATT:%02d][A:%f][B:%f]\r\n", m.ATT, m.DC_a, m.DC_b);
            out += line;
        }
        out += "[CH:END]\r\n[T:END]\r\n\r\n";
    }
    for (int ch = 0; ch < 4; ++ch) {
        std::snprintf(line, sizeof line, "[T:AC]\r\n[CH:%d]\r\n", ch);
        out += line;
        for (const AmpSWMap& m : CSetParam::state.pCharacter[ch].AmpSWMaps) {
            for (const ACAmpFre& c : m.ACFreAmp) {
                std::snprintf(line, sizeof line, "[ATT:%02d]\r\n[V:%f]\r\n", m.ATT, c.AdjAmp);
                out += line;
                for (const ACFrePiont& p : c.Points) {
                    std::snprintf(line, sizeof line, "[%.3e:%f]\r\n", p.fre, p.amp);
                    out += line;
                }
            }
        }
        out += "[CH:END]\r\n[T:END]\r\n\r\n";
    }
    return out;
}

} // namespace

TEST_F(CalTest, WithoutAnyFileEveryRangeIsUncorrected)
{
    chr(1).SetDCCalValue(9, 1.2, 0.3);
    chr(1).GetATTtoAmpForMap(9, 1.0)->Points.push_back({1000, 0.9, 0, 0});
    LogCapture log;
    EXPECT_FALSE(CSetParam::LoadCalData(QString()));
    EXPECT_TRUE(log.contains("no calibrate file:/home/root/Local.cal"));
    EXPECT_TRUE(log.contains("no calibrate file:/home/root/LocalOld.cal"));
    for (int ch = 0; ch < 4; ++ch) {
        for (const AmpSWMap& m : chr(ch).AmpSWMaps) {
            EXPECT_EQ(m.DC_a, 1.0);
            EXPECT_EQ(m.DC_b, 0.0);
            EXPECT_TRUE(m.ACFreAmp.empty());
        }
        EXPECT_EQ(CSetParam::state.m_ATT[ch], 255);
    }
}

TEST_F(CalTest, TheOlderCopyStandsInForAMissingFile)
{
    writeBoardFile(CSetParam::kCalOldFile,
                   "[SN:X]\r\n[T:DC]\r\n[CH:2]\r\n[ATT:00][A:1.030000][B:0.004000]\r\n[CH:END]\r\n[T:END]\r\n");
    LogCapture log;
    EXPECT_TRUE(CSetParam::LoadCalData(QString()));
    EXPECT_TRUE(log.contains("no calibrate file:/home/root/Local.cal"));
    EXPECT_TRUE(log.contains(" calibrate file:/home/root/LocalOld.cal"));
    EXPECT_EQ(range(2, 0)->DC_a, 1.03);
    EXPECT_EQ(range(2, 0)->DC_b, 0.004);
}

TEST_F(CalTest, SavedFileHasTheFormatAndLoadsBackByteForByte)
{
    fillAllChannels();
    CSetParam::SetSerialNumberSource(&testSerial);
    const QByteArray want = expectedFile("SN-CAL-0042");
    ASSERT_TRUE(CSetParam::SaveCalData());
    const QByteArray first = readBoardFile(CSetParam::kCalFile);
    EXPECT_EQ(first, want);
    EXPECT_TRUE(first.startsWith("[SN:SN-CAL-0042]\r\n[T:DC]\r\n[CH:0]\r\n[ATT:14][A:1.000000][B:0.000000]\r\n"));
    EXPECT_TRUE(first.contains("[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.999000]\r\n[1.234e+06:0.981000]\r\n"
                               "[9.876e+07:0.951000]\r\n"));
    EXPECT_FALSE(QFileInfo::exists(hostPath(CSetParam::kCalFile) + ".new"));

    // Back to defaults, load the file, save again: the same bytes.
    resetCalibration();
    ASSERT_TRUE(CSetParam::LoadCalData(QString()));
    int r9 = 0;
    while (chr(3).AmpSWMaps[size_t(r9)].ATT != 9)
        ++r9;
    EXPECT_DOUBLE_EQ(range(3, 9)->DC_a, 1.03 + 0.001 * r9);
    ASSERT_EQ(range(3, 1)->ACFreAmp.size(), 2u);
    EXPECT_EQ(range(3, 1)->ACFreAmp[1].AdjAmp, 1.0);
    ASSERT_TRUE(CSetParam::SaveCalData());
    EXPECT_EQ(readBoardFile(CSetParam::kCalFile), first);
}

TEST_F(CalTest, AFailedSaveLeavesTheOldFileInPlace)
{
    writeBoardFile(CSetParam::kCalFile, "[SN:OLD]\r\n");
    // The file the new content is written to cannot be created.
    ASSERT_TRUE(QDir().mkpath(hostPath(CSetParam::kCalFile) + ".new"));
    fillAllChannels();
    EXPECT_FALSE(CSetParam::SaveCalData());
    EXPECT_EQ(readBoardFile(CSetParam::kCalFile), QByteArray("[SN:OLD]\r\n"));
}

TEST_F(CalTest, ClearingRemovesTheCalibrationFilesWithoutTheShell)
{
    writeBoardFile(CSetParam::kCalFile, "[SN:A]\r\n");
    writeBoardFile(CSetParam::kCalOldFile, "[SN:B]\r\n");
    writeBoardFile(CSetParam::kHTempFile, "[T:AC]\r\n");
    writeBoardFile("/home/root/local.txt", "kept");
    fillAllChannels();
    ShellRunner::clearRecorded();
    CSetParam::CalClearAll();
    EXPECT_FALSE(QFileInfo::exists(hostPath(CSetParam::kCalFile)));
    EXPECT_FALSE(QFileInfo::exists(hostPath(CSetParam::kCalOldFile)));
    EXPECT_TRUE(QFileInfo::exists(hostPath(CSetParam::kHTempFile)));
    EXPECT_TRUE(QFileInfo::exists(hostPath("/home/root/local.txt")));
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
    for (int ch = 0; ch < 4; ++ch) {
        for (const AmpSWMap& m : chr(ch).AmpSWMaps) {
            EXPECT_EQ(m.DC_a, 1.0);
            EXPECT_TRUE(m.ACFreAmp.empty());
        }
        EXPECT_EQ(CSetParam::state.m_ATT[ch], 255);
        EXPECT_EQ(CSetParam::state.m_VPP[ch], 0.0);
    }
}

TEST_F(CalTest, TemperatureFactorsRideOnTheLoadedPoints)
{
    writeBoardFile(CSetParam::kCalFile,
                   "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.998000]\r\n"
                   "[1.000e+07:0.990000]\r\n[CH:END]\r\n[T:END]\r\n");
    writeBoardFile(CSetParam::kHTempFile,
                   "[T:DC]\r\n[CH:0]\r\n[ATT:08][A:1.3][B:0.1]\r\n[CH:END]\r\n[T:END]\r\n"
                   "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:1.500000]\r\n"
                   "[1.000e+07:1.050000]\r\n[ATT:08]\r\n[V:0.700000]\r\n[1.000e+03:1.1]\r\n"
                   "[CH:END]\r\n[T:END]\r\n");
    ASSERT_TRUE(CSetParam::LoadCalData(QString()));
    LogCapture log;
    CSetParam::LoadTempCalData();
    EXPECT_TRUE(log.contains("Htemp factor file is /home/root/Htemp.fac"));
    EXPECT_TRUE(log.contains("Ltemp factor file not found "));
    const AmpSWMap* m = range(0, 8);
    ASSERT_EQ(m->ACFreAmp.size(), 1u); // a factor without a curve creates none
    const std::vector<ACFrePiont>& p = m->ACFreAmp[0].Points;
    ASSERT_EQ(p.size(), 2u);
    EXPECT_DOUBLE_EQ(p[0].tmpHfactor, 0.2); // 1.5 clamped to 1.2
    EXPECT_NEAR(p[1].tmpHfactor, 0.05, 1e-12);
    EXPECT_EQ(p[0].tmpLfactor, 0.0);
    EXPECT_EQ(p[0].amp, 0.998);
    EXPECT_EQ(m->DC_a, 1.0); // DC blocks of a factor file are not calibration

    writeBoardFile(CSetParam::kLTempFile,
                   "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.500000]\r\n[CH:END]\r\n[T:END]\r\n");
    CSetParam::LoadTempCalData();
    EXPECT_DOUBLE_EQ(range(0, 8)->ACFreAmp[0].Points[0].tmpLfactor, -0.1);
}
