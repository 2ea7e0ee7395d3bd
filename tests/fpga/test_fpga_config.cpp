// The bitstream loader against the simulated configuration device.
#include "tests/fpga/fpga_test_support.h"
#include "hardware/fpga_config.h"

namespace {
const int kBlock = 51200;

QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 131 + i / 977) & 0xFF);
    return b;
}
} // namespace

class BitstreamLoader : public SimBoardTest {
protected:
    void SetUp() override
    {
        SimBoardTest::SetUp();
        fpga().reset();
        // One busy answer per erase keeps the one-second erase waits short.
        fpga().setErasePolls(1);
    }
    QList<int> load(fpga_config& cfg, const QString& file)
    {
        QList<int> progress;
        const auto c = QObject::connect(&cfg, &fpga_config::write_process, [&progress](int p) { progress << p; });
        cfg.fpga_cfg_write(file);
        QObject::disconnect(c);
        return progress;
    }
    // Progress values as the loader announces them: 10 at the start, one per
    // erase poll, then 50 + 50 j / 130 after each full block j.
    static QList<int> expected(int erasePolls, int fullBlocks)
    {
        QList<int> p {10};
        for (int k = 0; k < erasePolls; ++k)
            p << 10 + (k * 40) / 70;
        for (int j = 1; j <= fullBlocks; ++j)
            p << 50 + (50 * j) / 130;
        return p;
    }
};

TEST_F(BitstreamLoader, HundredThirtyFullBlocksEndAtHundred)
{
    const QByteArray bits = pattern(130 * kBlock);
    writeFile("/home/root/ORNAV96T_TOP.bit", bits);
    fpga_config cfg;
    MessageCapture log;
    const QList<int> p = load(cfg, fpga_config::kBitstreamPath);
    EXPECT_EQ(p, expected(1, 130));
    EXPECT_EQ(p.last(), 100);
    EXPECT_EQ(fpga().bitstream(), bits);
    EXPECT_TRUE(cfg.online());
    const QStringList m = log.messages();
    EXPECT_TRUE(m.contains("FPGA Configuring.......\n"));
    EXPECT_TRUE(m.contains("erase 0 !!!\n\r"));
    EXPECT_TRUE(m.contains("10% write 1/130 !!!\n\r"));
    EXPECT_TRUE(m.contains(QString("%1% write 130/130 !!!\n\r").arg(50 + 50 * 129 / 130)));
    EXPECT_FALSE(m.contains("write last !!!\n\r"));
}

// A file with a remainder after its full blocks is loaded by the upgrade
// (tests/capture); here one shorter than a block.
TEST_F(BitstreamLoader, FileShorterThanABlockEndsBelowHundred)
{
    const QByteArray shortBits = pattern(1000);
    writeFile("/home/root/ORNAV96T_TOP.bit", shortBits);
    fpga_config cfg;
    MessageCapture log;
    EXPECT_EQ(load(cfg, fpga_config::kBitstreamPath), expected(1, 0));
    EXPECT_EQ(fpga().bitstream(), shortBits);
    EXPECT_TRUE(log.contains("write last !!!\n\r"));
}

TEST_F(BitstreamLoader, MissingOrEmptyBitstreamReportsFailure)
{
    fpga_config cfg;
    {
        MessageCapture log;
        EXPECT_EQ(load(cfg, fpga_config::kBitstreamPath), QList<int> {-1});
        EXPECT_TRUE(log.contains("FPGA Configuring open file error or file not exist\n"));
    }
    writeFile("/home/root/ORNAV96T_TOP.bit", QByteArray());
    {
        MessageCapture log;
        EXPECT_EQ(load(cfg, fpga_config::kBitstreamPath), QList<int> {-1});
        EXPECT_TRUE(log.contains("FPGA Configuring open file error or file not exist\n"));
    }
    // Nothing reached the configuration flash; the FPGA keeps its state.
    EXPECT_TRUE(fpga().bitstream().isEmpty());
    EXPECT_TRUE(cfg.online());
}

TEST_F(BitstreamLoader, MissingConfigurationDevice)
{
    ASSERT_TRUE(QFile::remove(file("/dev/fpga_cfg")));
    writeFile("/home/root/ORNAV96T_TOP.bit", pattern(100));
    MessageCapture log;
    fpga_config cfg;
    EXPECT_TRUE(log.contains("Can't Open /dev/fpga_cfg !!!\n\r"));
    EXPECT_FALSE(cfg.online());
    EXPECT_EQ(load(cfg, fpga_config::kBitstreamPath), QList<int> {-1});
}

TEST_F(BitstreamLoader, OnlineFollowsTheConfigurationState)
{
    fpga_config cfg;
    fpga().setConfigured(false);
    EXPECT_FALSE(cfg.online());
    writeFile("/home/root/ORNAV96T_TOP.bit", pattern(10));
    fpga().setErasePolls(0);
    load(cfg, fpga_config::kBitstreamPath);
    EXPECT_TRUE(cfg.online());
}
