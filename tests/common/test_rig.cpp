#include "tests/common/test_rig.h"
#include <gtest/gtest.h>
#include "hardware/CSetParam.h"
#include "param/sys_param.h"
#include "WaveView/CWaveGreate.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include "simboard/simboard.h"
#include "simboard/simfpga.h"
#include "simboard/simroot.h"

namespace TestRig {

bool useSimulatedBoard(const QString& dir)
{
    if (dir.isEmpty() || !SimRoot::create(dir))
        return false;
    PlatformRoot::setRoot(dir);
    SimBoard::install();
    return PlatformRoot::simulated();
}

void leaveSimulatedBoard()
{
    CSetParam::CloseDevice();
    PlatformRoot::setRoot(QString());
}

void resetProcessState()
{
    CSetParam::CloseDevice();
    CSetParam::ResetState();
    sys_param::resetTransient();
    CWaveCreate::ForgetDrawn();
    SimFpga::instance().clearWrites();
    ShellRunner::clearRecorded();
    sys_param::setFactoryValues(sys_param::HWinfo);
    sys_param::SetPhaseSyncType(CH_SYS, 0);
}

} // namespace TestRig

namespace {
// Every test program runs against the simulated board: its devices are
// installed before the first test, whatever root the tests then choose.
class SimulatedBoardEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SimBoard::install(); }
};

const ::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new SimulatedBoardEnvironment);
} // namespace
