// The GPIO lines of the board on a simulated root, and the soft power-off,
// which must leave the host alone.
#include "tests/fpga/fpga_test_support.h"
#include "hardware/mem_io.h"
#include "platform/shellrunner.h"
#include <QDir>

class BoardLines : public SimBoardTest {
protected:
    void SetUp() override
    {
        SimBoardTest::SetUp();
        ShellRunner::clearRecorded();
    }
    char value(int line) const
    {
        return readFile(QString("/sys/class/gpio/gpio%1/value").arg(line).toLatin1().constData()).left(1).at(0);
    }
    void setValue(int line, const char* v) const
    {
        writeFile(QString("/sys/class/gpio/gpio%1/value").arg(line).toLatin1().constData(), v);
    }
};

TEST_F(BoardLines, LinesOpenWithTheirDirectionsAndStartValues)
{
    // Start from the opposite levels to see the start values written.
    setValue(117, "1\n");
    setValue(60, "1\n");
    setValue(41, "0\n");
    mem_io io;
    EXPECT_GE(io.powerkey, 0);
    EXPECT_GE(io.poweroff, 0);
    EXPECT_GE(io.fm24cl04wp, 0);
    EXPECT_GE(io.trigIO, 0);
    EXPECT_EQ(value(117), '0');
    EXPECT_EQ(value(60), '0');
    EXPECT_EQ(value(41), '1');
    EXPECT_EQ(mem_io::current(), &io);
    // All lines exist on the simulated board: no export, one direction each.
    EXPECT_EQ(ShellRunner::recorded(),
              (QStringList {
                  "echo in > /sys/class/gpio/gpio2/direction",
                  "echo out > /sys/class/gpio/gpio117/direction",
                  "echo out > /sys/class/gpio/gpio60/direction",
                  "echo out > /sys/class/gpio/gpio41/direction",
              }));
    EXPECT_TRUE(io.GetPin(io.powerkey));
    io.SetPin(io.fm24cl04wp, true);
    EXPECT_EQ(value(60), '1');
    EXPECT_TRUE(io.GetPin(io.fm24cl04wp));
}

TEST_F(BoardLines, MissingLineIsExportedAndThenIgnored)
{
    ASSERT_TRUE(QDir(file("/sys/class/gpio/gpio60")).removeRecursively());
    MessageCapture log;
    mem_io io;
    EXPECT_EQ(io.fm24cl04wp, -1);
    EXPECT_TRUE(ShellRunner::recorded().contains("echo 60 > /sys/class/gpio/export"));
    const QString warn = QString("open file:%1 error.\n").arg(file("/sys/class/gpio/gpio60/value"));
    EXPECT_TRUE(log.contains(warn)) << log.messages().join('|').toStdString();
    // Writing to a line that is not there does nothing.
    io.SetPin(io.fm24cl04wp, true);
    EXPECT_FALSE(QFile::exists(file("/sys/class/gpio/gpio60/value")));
    EXPECT_GE(io.trigIO, 0);
}

// Held over two ticks and let go, the key cuts the supply on the running
// program: SupervisedProgram.PowerKeyHeldShutsDownCleanly. A press of one
// tick is forgotten once released.
TEST_F(BoardLines, APowerKeyPressOfOneTickIsForgottenOnRelease)
{
    mem_io io;
    ShellRunner::clearRecorded();
    EXPECT_FALSE(io.softPowerOff_Check(nullptr));
    EXPECT_EQ(io.count, 0);
    setValue(2, "0\n"); // pressed
    EXPECT_TRUE(io.softPowerOff_Check(nullptr));
    EXPECT_EQ(io.count, 1);
    setValue(2, "1\n");
    EXPECT_FALSE(io.softPowerOff_Check(nullptr));
    EXPECT_EQ(io.count, 0);
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
    EXPECT_EQ(value(117), '0');
}

TEST_F(BoardLines, MissingPowerKeyLineSkipsTheCheck)
{
    ASSERT_TRUE(QDir(file("/sys/class/gpio/gpio2")).removeRecursively());
    mem_io io;
    ShellRunner::clearRecorded();
    EXPECT_EQ(io.powerkey, -1);
    EXPECT_FALSE(io.softPowerOff_Check(nullptr));
    EXPECT_FALSE(io.softPowerOff_Check(nullptr));
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
}
