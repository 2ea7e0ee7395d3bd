// Register access through the simulated FPGA: byte order and width of every
// write, the raw address rule, the closed-device behaviour, keys and the key
// expander read-back.
#include "tests/fpga/fpga_test_support.h"
#include <thread>

namespace {
const int kSentinel = 0xAA;

// Fills [base - 1, base + 9] with a sentinel so that bytes written outside a
// register's width show up.
void fillAround(unsigned base) { SimFpga::instance().poke(base - 1, QByteArray(11, char(kSentinel))); }
} // namespace

class RegisterAccess : public SimBoardTest {};

TEST_F(RegisterAccess, EveryValueWidthLandsLeastSignificantByteFirst)
{
    openDevice();
    struct Case {
        const char* what;
        unsigned base;
        void (*write)(unsigned);
        QByteArray expected; // bytes from base, the rest must keep the sentinel
    };
    const Case cases[] = {
        {"bool", 0x041, [](unsigned a) { CSetParam::SetFPGA_reg(a, true); }, bytes({0x01})},
        {"uchar", 0x13D, [](unsigned a) { CSetParam::SetFPGA_reg(a, static_cast<unsigned char>(0x9C)); },
         bytes({0x9C})},
        {"ushort", 0x23F, [](unsigned a) { CSetParam::SetFPGA_reg(a, static_cast<unsigned short>(0xBEEF)); },
         bytes({0xEF, 0xBE})},
        {"uint n=3", 0x32B, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0x00ABCDEFu, 3u); }, bytes({0xEF, 0xCD, 0xAB})},
        {"uint n=4", 0x084, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0x11223344u, 4u); },
         bytes({0x44, 0x33, 0x22, 0x11})},
        // A width above four is held to the four bytes of the value.
        {"uint n=7", 0x184, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0x11223344u, 7u); },
         bytes({0x44, 0x33, 0x22, 0x11})},
        {"u64 n=8", 0x003, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0x0102030405060708ULL, 8u); },
         bytes({0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01})},
        // A 48-bit word reaches base..base+5 only, even with bits above 47 set.
        {"u64 n=6", 0x213, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0xFFEEA1B2C3D4E5F6ULL, 6u); },
         bytes({0xF6, 0xE5, 0xD4, 0xC3, 0xB2, 0xA1})},
        {"u64 n=2", 0x30D, [](unsigned a) { CSetParam::SetFPGA_reg(a, 0x123456789ULL, 2u); }, bytes({0x89, 0x67})},
        {"raw", 0x90A,
         [](unsigned a) {
             const unsigned char raw[3] = {0x10, 0x20, 0x30};
             CSetParam::SetFPGA_reg(a, static_cast<const void*>(raw), 3u);
         },
         bytes({0x10, 0x20, 0x30})},
    };
    for (const auto& c : cases) {
        fillAround(c.base);
        fpga().clearWrites();
        c.write(c.base);
        const QByteArray now = fpga().peek(c.base - 1, 11);
        QByteArray want(11, char(kSentinel));
        want.replace(1, c.expected.size(), c.expected);
        EXPECT_EQ(now.toHex(' '), want.toHex(' ')) << c.what;
        // One transfer of exactly the register's width.
        const auto w = fpga().writes();
        ASSERT_EQ(w.size(), 1) << c.what;
        EXPECT_EQ(w[0].address, c.base) << c.what;
        EXPECT_EQ(w[0].unit, 0) << c.what;
        EXPECT_EQ(w[0].bytes.toHex(' '), c.expected.toHex(' ')) << c.what;
    }
}

TEST_F(RegisterAccess, DirectWritesAreCappedAtSixBytes)
{
    openDevice();
    fillAround(0x905);
    const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(CSetParam::SetFPGADirect(0x905, data, 8), 1);
    EXPECT_EQ(fpga().peek(0x905, 8).toHex(' '), QByteArray("01 02 03 04 05 06 aa aa"));
    EXPECT_EQ(CSetParam::SetFPGADirect(0x905, data + 6, 2), 1);
    EXPECT_EQ(fpga().peek(0x905, 8).toHex(' '), QByteArray("07 08 03 04 05 06 aa aa"));
}

TEST_F(RegisterAccess, RawChannelAddressRule)
{
    // Channel blocks below 0x400 take the channel's two bits; the shared
    // registers above keep their address. Channel 5 is block 1.
    const int rows[][3] = {{3, 0x61, 0x361},  {0, 0x61, 0x061}, {3, 0x700, 0x700},
                           {2, 0x401, 0x401}, {5, 0x10, 0x110}, {2, 0x3FF, 0x3FF}};
    for (const auto& r : rows)
        EXPECT_EQ(CSetParam::RawAddress(r[0], unsigned(r[1])), unsigned(r[2])) << r[0] << " " << r[1];

    openDevice();
    CSetParam::SetFPGA_reg(CSetParam::RawAddress(3, 0x61), true);
    EXPECT_EQ(fpga().peek(0x361, 1), bytes({1}));
    EXPECT_EQ(fpga().peek(0x061, 1), bytes({0}));
}

TEST_F(RegisterAccess, AddressesAreTruncatedToSixteenBitsAndReadsFillConsecutiveRegisters)
{
    openDevice();
    const unsigned char b[2] = {0x34, 0x12};
    CSetParam::FpgaWrite(0x10702, b, 2);
    const auto w = fpga().writes();
    ASSERT_EQ(w.size(), 1);
    EXPECT_EQ(w[0].address, 0x0702);
    EXPECT_EQ(fpga().peek(0x702, 2), bytes({0x34, 0x12}));

    fpga().poke(REG_CNT_REF_H, bytes({0x78, 0x56, 0x34, 0x12}));
    unsigned char buf[4] = {0, 0, 0, 0};
    CSetParam::FpgaRead(REG_CNT_REF_H, buf, 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), 4), bytes({0x78, 0x56, 0x34, 0x12}));
    unsigned char one = 0;
    CSetParam::GetFPGA_Reg(REG_CNT_REF_H + 3, &one, 1);
    EXPECT_EQ(one, 0x12);
}

TEST_F(RegisterAccess, ClosedDeviceDropsWritesAndLeavesReadBuffers)
{
    openDevice();
    fpga().poke(REG_CLK_STATUS, bytes({0xFF}));
    fpga().poke(REG_HW_VER, bytes({0x33}));
    fpga().queueKey(0x41);
    CSetParam::CloseDevice();
    EXPECT_FALSE(CSetParam::DeviceOpen());
    EXPECT_EQ(CSetParam::fd, -1);

    CSetParam::SetFPGA_reg(REG_BUZZER, static_cast<unsigned char>(5));
    CSetParam::SetFPGA_reg(0x003, 0x0102030405060708ULL, 8u);
    const unsigned short words[2] = {1, 2};
    CSetParam::FpgaWriteWords(REG_TABLE_DATA, words, 2);
    EXPECT_TRUE(fpga().writes().isEmpty());
    EXPECT_EQ(fpga().peek(REG_BUZZER, 1), bytes({0}));

    unsigned char buf = 0x5A;
    CSetParam::FpgaRead(REG_HW_VER, &buf, 1);
    EXPECT_EQ(buf, 0x5A);
    EXPECT_FALSE(CSetParam::GetInputClkValid());
    EXPECT_FALSE(CSetParam::HAS_KEY_FLAG());
    EXPECT_EQ(CSetParam::GetKey(), 0);
    EXPECT_EQ(CSetParam::ReadHardwareVer(), QString("1.00"));
    EXPECT_EQ(CSetParam::ReadLogicVer(), QString("0.00.000"));
    // The queued key is still there for when the device comes back.
    EXPECT_EQ(fpga().pendingKeys(), 1);
}

// The key thread's verified start-up: write a chip register, request its
// read, compare the read-back with the low byte.
TEST_F(RegisterAccess, KeyExpanderReadBackReturnsTheLastWrittenChipRegister)
{
    openDevice();
    const unsigned short words[] = {0x1DFF, 0x1E1F, 0x1F00, 0x0111};
    for (unsigned short w : words) {
        CSetParam::SetFPGA_reg(REG_KEY_PORT, w);
        CSetParam::SetFPGA_reg(REG_KEY_PORT, static_cast<unsigned short>(w | 0x8000));
        EXPECT_EQ(CSetParam::GetTCA8418Reg(), w & 0xFF) << std::hex << w;
    }
    // Register 0x1E holds 0x1F after the sequence; asking again still says so.
    CSetParam::SetFPGA_reg(REG_KEY_PORT, static_cast<unsigned short>(0x9E00));
    EXPECT_EQ(CSetParam::GetTCA8418Reg(), 0x1F);
    // A register never written reads 0.
    CSetParam::SetFPGA_reg(REG_KEY_PORT, static_cast<unsigned short>(0xA500));
    EXPECT_EQ(CSetParam::GetTCA8418Reg(), 0x00);
    // The words went out as register * 256 + value, low byte first.
    const auto w = fpga().writes();
    ASSERT_GE(w.size(), 2);
    EXPECT_EQ(w[0].address, REG_KEY_PORT);
    EXPECT_EQ(w[0].bytes, bytes({0xFF, 0x1D}));
    EXPECT_EQ(w[1].bytes, bytes({0xFF, 0x9D}));
}

TEST_F(RegisterAccess, TransfersFromManyThreadsStayWhole)
{
    openDevice();
    const int kThreads = 4, kWrites = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            const unsigned long long v = 0x0101010101ULL * unsigned(t + 1);
            for (int i = 0; i < kWrites; ++i) {
                CSetParam::SetFPGA_reg(0x0213, v, 6u);
                unsigned char b[6];
                CSetParam::FpgaRead(0x0213, b, 6);
            }
        });
    for (auto& th : threads)
        th.join();
    const auto w = fpga().writes();
    ASSERT_EQ(w.size(), kThreads * kWrites);
    for (const auto& r : w) {
        ASSERT_EQ(r.bytes.size(), 6);
        const char first = r.bytes[0];
        EXPECT_GE(first, 1);
        EXPECT_LE(first, kThreads);
        EXPECT_EQ(r.bytes, QByteArray(5, first) + '\0');
    }
}
