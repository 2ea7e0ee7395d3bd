// The board the program runs on is chosen at its edge: a board root alone
// does not make the devices simulated; SimBoard::install() does, and without
// it the kernel drivers answer even on a simulated root.
#include "tests/fpga/fpga_test_support.h"
#include <memory>
#include "hardware/fpga_cfgdevice.h"
#include "hardware/fpga_regdevice.h"
#include "simboard/simboard.h"
#include "simboard/simfpga_devices.h"

namespace {
// One byte written to register address 0x041 through a device.
int writeByte(FpgaRegDevice& dev, uint8_t value)
{
    userCmd cmd {FPGA_UNIT_BYTES, &value, 0x041};
    return dev.write(&cmd, 1);
}
} // namespace

class BoardChoice : public SimBoardTest {
protected:
    void TearDown() override
    {
        SimBoard::install();
        SimBoardTest::TearDown();
    }
};

TEST_F(BoardChoice, TheInstalledSimulatedBoardAnswersTheRegisterDevice)
{
    ASSERT_TRUE(SimBoard::installed());
    int fd = -1;
    std::unique_ptr<FpgaRegDevice> dev(FpgaRegDevice::open("/dev/fpga", &fd));
    ASSERT_TRUE(dev);
    EXPECT_GE(fd, 0);
    EXPECT_NE(dynamic_cast<SimFpgaRegDevice*>(dev.get()), nullptr);
    fpga().clearWrites();
    EXPECT_EQ(writeByte(*dev, 0x5A), 1);
    EXPECT_EQ(fpga().peek(0x041, 1), bytes({0x5A}));
    // The stand-in file only marks the device present; it holds no bytes.
    EXPECT_TRUE(readFile("/dev/fpga").isEmpty());

    std::unique_ptr<FpgaCfgDevice> cfg(FpgaCfgDevice::open("/dev/fpga_cfg"));
    ASSERT_TRUE(cfg);
    EXPECT_NE(dynamic_cast<SimFpgaCfgDevice*>(cfg.get()), nullptr);
}

TEST_F(BoardChoice, WithoutTheSimulatedBoardTheKernelDriverIsUsedEvenBelowARoot)
{
    SimBoard::uninstall();
    EXPECT_FALSE(SimBoard::installed());
    int fd = -1;
    std::unique_ptr<FpgaRegDevice> dev(FpgaRegDevice::open("/dev/fpga", &fd));
    ASSERT_TRUE(dev);
    EXPECT_NE(dynamic_cast<KernelFpgaRegDevice*>(dev.get()), nullptr);
    fpga().clearWrites();
    // The kernel path hands the transfer record to write(); on the stand-in
    // file it lands as plain bytes and the simulated FPGA sees nothing.
    EXPECT_EQ(writeByte(*dev, 0x5A), 1);
    EXPECT_TRUE(fpga().writes().isEmpty());
    EXPECT_EQ(readFile("/dev/fpga").size(), 1);

    std::unique_ptr<FpgaCfgDevice> cfg(FpgaCfgDevice::open("/dev/fpga_cfg"));
    ASSERT_TRUE(cfg);
    EXPECT_NE(dynamic_cast<KernelFpgaCfgDevice*>(cfg.get()), nullptr);
}

TEST_F(BoardChoice, NoDeviceFileMeansNoDeviceWhicheverBoardIsInstalled)
{
    ASSERT_TRUE(QFile::remove(file("/dev/fpga")));
    int fd = 7;
    EXPECT_EQ(FpgaRegDevice::open("/dev/fpga", &fd), nullptr);
    EXPECT_EQ(fd, -1);
    SimBoard::uninstall();
    EXPECT_EQ(FpgaRegDevice::open("/dev/fpga", &fd), nullptr);
}
