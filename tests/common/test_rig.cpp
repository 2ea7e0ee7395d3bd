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
    CSetParam::ForgetWrittenState();
    SimFpga::instance().clearWrites();
    ShellRunner::clearRecorded();
    sys_param::setFactoryValues(sys_param::HWinfo);
    for (int ch = 0; ch < 4; ++ch) {
        sys_param::OnOff[ch] = false;
        sys_param::syncManual[ch] = false;
        sys_param::SyncFrequency[ch] = 0;
        CSetParam::pCharacter[ch].LED = 0;
        CSetParam::pCharacter[ch].ClearAcCalValue();
        CSetParam::pCharacter[ch].SetAllDCCalValue(1.0, 0.0);
        // The wave memory of a fresh FPGA is empty: nothing was drawn into it.
        CWaveCreate::bwavev[ch] = BASE_Unknown;
        CWaveCreate::m_arb[ch][0] = '\0';
    }
    sys_param::SetPhaseSyncType(CH_SYS, 0);
    sys_param::TrgInOut = 0;
    CSetParam::chAllLed = 0;
    CSetParam::isAcCal = false;
    CSetParam::isDcCal = false;
}

} // namespace TestRig

namespace {
// Every test program runs against the simulated board: its devices are
// installed before the first test, whatever root the tests then choose.
class SimulatedBoardEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SimBoard::install(); }
};

const ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new SimulatedBoardEnvironment);
} // namespace
