// Wave-table, modulation-table, list, deep-memory and noise-filter uploads
// as the simulated FPGA received them.
#include "tests/regs/regs_fixture.h"

namespace {
std::vector<short> ramp(int n, int start, int step)
{
    std::vector<short> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = short(start + (i * step) % 60000);
    return v;
}
quint64 w16(short s) { return quint64(uint16_t(s)); }
} // namespace

TEST_F(RegsTest, BaseTableGoesAsOneStreamOf8192Words)
{
    const std::vector<short> t = ramp(8192, -30000, 7);
    CSetParam::SetBaseWaveData(CH3, t.data(), 8192, false);
    const QVector<quint64> s = stream("table:3:base");
    ASSERT_EQ(s.size(), 8192);
    EXPECT_EQ(s.first(), w16(t.front()));
    EXPECT_EQ(s[4096], w16(t[4096]));
    EXPECT_EQ(s.last(), w16(t.back()));
    // One word-stream transfer, framed by the load enable.
    int streams = 0;
    for (const auto& w : fpga().writes())
        if (w.address == REG_TABLE_DATA) {
            ++streams;
            EXPECT_EQ(w.unit, 2);
            EXPECT_EQ(w.count, 8192);
        }
    EXPECT_EQ(streams, 1);
    EXPECT_EQ(writesAt(REG_TABLE_SELECT), (QList<uint64_t> {uint64_t(CH3 * 4 + 0)}));
    EXPECT_EQ(writesAt(REG_TABLE_LOAD), (QList<uint64_t> {1, 0}));
    // deep = true means nothing on CH3/CH4: table playback there.
    CSetParam::SetBaseWaveData(CH4, t.data(), 8192, true);
    EXPECT_EQ(stream("table:4:base").size(), 8192);
}

TEST_F(RegsTest, ShortBaseTableIsStretchedNotReadPastItsEnd)
{
    // 100 samples: the wave memory still gets one period of 8192 words,
    // from the caller's first to its last sample.
    std::vector<short> t(100);
    for (int i = 0; i < 100; ++i)
        t[size_t(i)] = short(i * 300 - 15000);
    CSetParam::SetBaseWaveData(CH1, t.data(), 100, false);
    const QVector<quint64> s = stream("table:1:base");
    ASSERT_EQ(s.size(), 8192);
    EXPECT_EQ(s.first(), w16(t.front()));
    EXPECT_EQ(s.last(), w16(t.back()));
    // Linear between the caller's samples: nondecreasing for a rising ramp.
    for (int i = 1; i < s.size(); ++i)
        ASSERT_GE(short(s[i]), short(s[i - 1])) << i;
}

TEST_F(RegsTest, BaseTableRefusesEmptyInput)
{
    LogCapture log;
    const short one = 5;
    CSetParam::SetBaseWaveData(CH1, &one, 0, false);
    CSetParam::SetBaseWaveData(CH1, nullptr, 8192, false);
    EXPECT_TRUE(log.contains("error SetBaseWaveData len <= 0"));
    EXPECT_TRUE(log.contains("error SetBaseWaveData pValue == NULL"));
    EXPECT_TRUE(fpga().writes().isEmpty());
}

TEST_F(RegsTest, ModulationTableAndItsLimit)
{
    const std::vector<short> t = ramp(3000, -20000, 13);
    CSetParam::SetModWaveData(CH4, t.data(), 2048);
    QVector<quint64> s = stream("table:4:mod");
    ASSERT_EQ(s.size(), 2048);
    EXPECT_EQ(s.first(), w16(t[0]));
    EXPECT_EQ(s.last(), w16(t[2047]));
    EXPECT_EQ(writesAt(REG_TABLE_SELECT), (QList<uint64_t> {uint64_t(CH4 * 4 + 1)}));

    // More than the modulation memory holds: logged, cut to 2048.
    LogCapture log;
    CSetParam::SetModWaveData(CH4, t.data(), 3000);
    EXPECT_TRUE(log.contains("mod size:3000 out of range"));
    s = stream("table:4:mod");
    ASSERT_EQ(s.size(), 2048);
    EXPECT_EQ(s.last(), w16(t[2047]));
}

TEST_F(RegsTest, FrequencyListEntriesAre36BitIncrements)
{
    const double f[] = {1.0, 1e3, 123456.789, 600e6};
    CSetParam::SetListData(CH2, f, 4);
    const QVector<quint64> s = stream("list:2");
    ASSERT_EQ(s.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s[i], quint64(uint64_t(f[i] * ref::W36 / ref::FCLK) & ((1ull << 36) - 1))) << f[i];
    EXPECT_EQ(writesAt(REG_LIST_CH), (QList<uint64_t> {1u << CH2}));
    EXPECT_EQ(writesAt(REG_LIST_LOAD), (QList<uint64_t> {1, 0}));
    EXPECT_EQ(writesAt(REG_LIST_DATA).size(), 4);

    // At most 2048 entries.
    std::vector<double> many(2500, 5e3);
    many[2047] = 7e3;
    CSetParam::SetListData(CH4, many.data(), int(many.size()));
    const QVector<quint64> m = stream("list:4");
    ASSERT_EQ(m.size(), 2048);
    EXPECT_EQ(m.last(), quint64(uint64_t(7e3 * ref::W36 / ref::FCLK)));
}

TEST_F(RegsTest, DeepMemoryRepeatsTheWaveToWholeWindows)
{
    // 10 samples: 4 passes make 40 samples, five full 16-byte windows.
    std::vector<short> t(10);
    for (int i = 0; i < 10; ++i)
        t[size_t(i)] = short(1000 * i - 4321);
    CSetParam::SetBaseWaveData(CH1, t.data(), 10, true);
    const QVector<quint64> s = stream("deep:1");
    ASSERT_EQ(s.size(), 40);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(s[i], w16(t[size_t(i % 10)])) << i;
    EXPECT_EQ(writesAt(REG_DEEP1_LOAD), (QList<uint64_t> {1, 0}));
    int windows = 0;
    for (const auto& w : fpga().writes())
        if (w.address == REG_DEEP1_DATA) {
            ++windows;
            EXPECT_EQ(w.bytes.size(), 16);
        }
    EXPECT_EQ(windows, 5);
    // Nothing reached the table port.
    EXPECT_TRUE(writesAt(REG_TABLE_LOAD).isEmpty());

    // CH2 with a multiple of 8: one pass into its own window.
    std::vector<short> u(24, 77);
    u[23] = -1;
    CSetParam::SetBaseWaveData(CH2, u.data(), 24, true);
    const QVector<quint64> d = stream("deep:2");
    ASSERT_EQ(d.size(), 24);
    EXPECT_EQ(d.first(), 77u);
    EXPECT_EQ(d.last(), 0xFFFFu);
}

TEST_F(RegsTest, DeepPassesStopAtTheMemorySize)
{
    EXPECT_EQ(CSetParam::DeepPasses(8), 1);
    EXPECT_EQ(CSetParam::DeepPasses(12), 2);
    EXPECT_EQ(CSetParam::DeepPasses(10), 4);
    EXPECT_EQ(CSetParam::DeepPasses(8388607), 8); // odd: eight passes, 2^26 - 8 samples
    // Two passes would not fit 2^26 samples: one pass, the tail window short.
    EXPECT_EQ(CSetParam::DeepPasses(67108863), 1);
}

TEST_F(RegsTest, NoiseFilterIsAWindowedSincSentInSwappedGroups)
{
    // CH3 at 100 MHz is designed at 50 MHz with 24 taps.
    const double w24[12] = {0.013799, 0.036004, 0.076848, 0.140019, 0.227900, 0.339490,
                            0.469660, 0.609157, 0.745478, 0.864549, 0.952913, 1.000000};
    const double om = 2 * 50e6 / ref::FCLK * M_PI;
    double h[24], top = -1;
    for (int i = 0; i < 24; ++i) {
        const double t = i - 11.5;
        h[i] = (i < 12 ? w24[i] : w24[23 - i]) * std::sin(om * t) / (t * M_PI);
        top = std::max(top, h[i]);
    }
    short c[24];
    for (int i = 0; i < 24; ++i)
        c[i] = short(std::trunc(h[i] * 32767 / top));
    CSetParam::SetNoiseBW(CH3, 100e6);
    const QVector<quint64> s = stream("table:3:noise");
    ASSERT_EQ(s.size(), 24);
    for (int g = 0; g < 24; g += 4) {
        EXPECT_EQ(s[g + 0], w16(c[g + 2])) << g;
        EXPECT_EQ(s[g + 1], w16(c[g + 3])) << g;
        EXPECT_EQ(s[g + 2], w16(c[g + 0])) << g;
        EXPECT_EQ(s[g + 3], w16(c[g + 1])) << g;
    }
    EXPECT_EQ(writesAt(REG_TABLE_SELECT), (QList<uint64_t> {0x10u + CH3}));
    // The two centre taps are the largest (full scale within rounding) and
    // the filter is symmetric.
    EXPECT_GE(c[11], 32766);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(c[i], c[23 - i]) << i;

    // CH1: 96 taps in groups of 16, designed at bw / 8.
    short c1[96];
    ASSERT_TRUE(CSetParam::GetNoiseRatio(CH1, 200e6 / 8, c1));
    CSetParam::SetNoiseBW(CH1, 200e6);
    const QVector<quint64> s1 = stream("table:1:noise");
    ASSERT_EQ(s1.size(), 96);
    EXPECT_EQ(s1[0], w16(c1[8]));
    EXPECT_EQ(s1[8], w16(c1[0]));
    EXPECT_EQ(s1[95], w16(c1[87]));
    EXPECT_GE(c1[47], 32766);
    EXPECT_EQ(c1[47], c1[48]);

    // No bandwidth, no filter: the old coefficients stay.
    fpga().clearWrites();
    CSetParam::SetNoiseBW(CH3, 0);
    EXPECT_TRUE(fpga().writes().isEmpty());
}
