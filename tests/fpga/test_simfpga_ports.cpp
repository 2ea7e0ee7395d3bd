// The streamed ports and the hardware-driven registers of the simulated FPGA,
// exercised through the register access of the application.
#include "tests/fpga/fpga_test_support.h"

class SimFpgaPorts : public SimBoardTest {
protected:
    void SetUp() override
    {
        SimBoardTest::SetUp();
        openDevice();
    }
    static QVector<quint64> stream(const char* name)
    {
        QVector<quint64> v;
        QString why;
        EXPECT_TRUE(SimFpga::instance().stream(name, &v, &why)) << why.toStdString();
        return v;
    }
    static void setByte(unsigned a, int v) { CSetParam::SetFPGA_reg(a, static_cast<unsigned char>(v)); }
};

TEST_F(SimFpgaPorts, TablePortKeepsOneStreamPerTargetAndALoadReplacesIt)
{
    const unsigned short base[3] = {0x0001, 0x8000, 0xFFFF};
    const unsigned short mod[2] = {0x1234, 0x00FF};
    setByte(REG_TABLE_SELECT, 1 * 4 + 0); // CH2 base table
    setByte(REG_TABLE_LOAD, 1);
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, base, 3);
    setByte(REG_TABLE_LOAD, 0);
    setByte(REG_TABLE_SELECT, 1 * 4 + 1); // CH2 modulation table
    setByte(REG_TABLE_LOAD, 1);
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, mod, 2);
    setByte(REG_TABLE_LOAD, 0);
    EXPECT_EQ(stream("table:2:base"), (QVector<quint64>{1, 32768, 65535}));
    EXPECT_EQ(stream("table:CH2:0"), (QVector<quint64>{1, 32768, 65535}));
    EXPECT_EQ(stream("table:2:mod"), (QVector<quint64>{0x1234, 0xFF}));
    EXPECT_TRUE(stream("table:1:base").isEmpty());

    // Words sent while the load is off are not taken.
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, mod, 2);
    EXPECT_EQ(stream("table:2:mod").size(), 2);

    // A new load replaces; words in several transfers of one load add up.
    setByte(REG_TABLE_LOAD, 1);
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, base + 2, 1);
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, base, 1);
    setByte(REG_TABLE_LOAD, 0);
    EXPECT_EQ(stream("table:2:mod"), (QVector<quint64>{65535, 1}));

    // The noise-filter coefficients of CH4 sit at 0x10 + 3.
    setByte(REG_TABLE_SELECT, 0x13);
    setByte(REG_TABLE_LOAD, 1);
    const unsigned short coef[2] = {0x7FFF, 0x8001};
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, coef, 2);
    setByte(REG_TABLE_LOAD, 0);
    EXPECT_EQ(stream("table:4:noise"), (QVector<quint64>{32767, 32769}));
}

TEST_F(SimFpgaPorts, FrequencyListEntriesGoToEveryChannelOfTheMask)
{
    setByte(REG_LIST_CH, 0b0101); // CH1 and CH3
    setByte(REG_LIST_LOAD, 1);
    CSetParam::SetFPGA_reg(REG_LIST_DATA, 0xFEDCBA987ULL, 5u);
    CSetParam::SetFPGA_reg(REG_LIST_DATA, 0x000000001ULL, 5u);
    setByte(REG_LIST_LOAD, 0);
    EXPECT_EQ(stream("list:1"), (QVector<quint64>{0xFEDCBA987ULL, 1}));
    EXPECT_EQ(stream("list:3"), (QVector<quint64>{0xFEDCBA987ULL, 1}));
    EXPECT_TRUE(stream("list:2").isEmpty());
    setByte(REG_LIST_CH, 0b0100);
    setByte(REG_LIST_LOAD, 1);
    CSetParam::SetFPGA_reg(REG_LIST_DATA, 42ULL, 5u);
    setByte(REG_LIST_LOAD, 0);
    EXPECT_EQ(stream("list:3"), (QVector<quint64>{42}));
    EXPECT_EQ(stream("list:1").size(), 2);
}

TEST_F(SimFpgaPorts, StatusBlockIgnoresWritesAndKeepsWhatTheHardwareSets)
{
    fpga().poke(REG_CNT_CYCLE_L, bytes({1, 2, 3, 4}));
    CSetParam::SetFPGA_reg(REG_CNT_CYCLE_L, 0xFFFFFFFFu, 4u);
    EXPECT_EQ(fpga().peek(REG_CNT_CYCLE_L, 4), bytes({1, 2, 3, 4}));
    // The write is still seen on the bus.
    ASSERT_EQ(fpga().writes().size(), 1);
    EXPECT_EQ(fpga().writes()[0].address, REG_CNT_CYCLE_L);
}

TEST_F(SimFpgaPorts, UnknownStreamNamesAreRefused)
{
    QVector<quint64> v;
    QString why;
    for (const char* bad : {"table:5:base", "table:1", "table:1:x", "list:0", "deep:3", "digital:x", "foo", ""}) {
        EXPECT_FALSE(fpga().stream(bad, &v, &why)) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }
}

TEST_F(SimFpgaPorts, WriteRecordFormat)
{
    setByte(REG_BUZZER, 0x0A);
    CSetParam::SetFPGA_reg(REG_DAC_SPI, static_cast<unsigned short>(0x1048));
    const unsigned short w[3] = {1, 2, 3};
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, w, 3);
    EXPECT_EQ(fpga().logLines(), (QStringList{"0x0700 0a", "0x0702 48 10", "0x0603 [3 words]"}));
}
