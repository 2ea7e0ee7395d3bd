// The simulated board's side of the counter and the digital output: counter
// registers set as a real input would set them read back through the
// counter reader, and the digital trace request of ornav-sim.
#include <gtest/gtest.h>
#include "hardware/CSetParam.h"
#include "hardware/fpga_regs.h"
#include "tests/common/controller_fixture.h"

namespace {

class SimInputs : public ControllerTest {};

TEST_F(SimInputs, CounterInputReadsBackInBothRanges)
{
    for (double f : {0.5, 3.3, 999.0, 12345.678, 2.5e6, 1.5e8}) {
        for (double duty : {10.0, 50.0, 87.5}) {
            ASSERT_TRUE(fpga().setCounterInput(f, duty));
            CSetParam::offCounter();
            // Twice: the range choice has hysteresis and may switch once.
            CSetParam::readCounterPara();
            ASSERT_EQ(CSetParam::readCounterPara(), 1) << f;
            EXPECT_NEAR(CSetParam::state.cntFre[CSetParam::VALUE], f, f * 1e-6) << f;
            EXPECT_NEAR(CSetParam::state.cntDuty[CSetParam::VALUE], duty, 1e-3) << f << " " << duty;
            EXPECT_NEAR(CSetParam::state.cntPeriod[CSetParam::VALUE], 1 / f, 1e-6 / f) << f;
        }
    }
    // No input: nothing measured.
    ASSERT_TRUE(fpga().setCounterInput(0, 50));
    EXPECT_EQ(CSetParam::readCounterPara(), 0);
    EXPECT_EQ(CSetParam::state.strFre.first(), QString("------"));
}

TEST_F(SimInputs, RequestsRefuseWrongInputAndAnIdleOutput)
{
    EXPECT_TRUE(fpga().handleRequest("counter -5").startsWith("error"));
    EXPECT_TRUE(fpga().handleRequest("counter 1000 101").startsWith("error"));
    EXPECT_TRUE(fpga().handleRequest("counter abc").startsWith("error"));
    EXPECT_EQ(fpga().handleRequest("counter 1000 25"), QByteArray("ok\n"));
    // The output is off after start: no lines to draw.
    const QByteArray off = fpga().handleRequest("digital-trace");
    EXPECT_TRUE(off.startsWith("error")) << off.constData();
    EXPECT_TRUE(off.contains("off"));
}

TEST_F(SimInputs, ManualSendsAreCountedPerDataLoad)
{
    CSetParam::SetDigitalSW(3);
    CSetParam::SetDigitalClk(9600);
    CSetParam::SetDigitalData("A", 1);
    EXPECT_EQ(fpga().digitalTriggers(), 0);
    CSetParam::SetDigitalMannulTrig();
    CSetParam::SetDigitalMannulTrig();
    EXPECT_EQ(fpga().digitalTriggers(), 2);
    const QByteArray ok = fpga().handleRequest("digital-trace");
    ASSERT_TRUE(ok.startsWith("ok\n$version")) << ok.left(80).constData();
    EXPECT_TRUE(ok.contains("$var wire 1 ! TX $end"));
    CSetParam::SetDigitalData("B", 1); // a new load starts over
    EXPECT_EQ(fpga().digitalTriggers(), 0);
}

} // namespace
