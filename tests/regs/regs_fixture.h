#pragma once
// Shared pieces of the register-programming tests: a simulated board with
// the register device open, the factory record, and readers of what the
// simulated FPGA received. Reference constants are written out here, apart
// from the code under test.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <cmath>
#include <cstdint>
#include <vector>
#include "hardware/CSetParam.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "tests/common/fpga_probe.h"
#include "tests/common/test_rig.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

namespace ref {
struct Slope {
    uint32_t mantissa;
    int n;
};
// An edge e at carrier increment K: s = SLOPE_K / (K e), doubled n times
// until it reaches 2^23.
inline Slope slope(double K, double e)
{
    double s = SLOPE_K / (K * e);
    if (std::fabs(s) < 1e-16)
        s = SLOPE_MIN;
    int n = 0;
    while (s < SLOPE_MIN) {
        s *= 2;
        ++n;
    }
    return Slope {uint32_t(s), n};
}
} // namespace ref

class RegsTest : public ::testing::Test, public FpgaProbe {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TestRig::resetProcessState();
        ASSERT_TRUE(TestRig::useSimulatedBoard(dir.path()));
        ASSERT_TRUE(PlatformRoot::simulated());
        ASSERT_TRUE(CSetParam::OpenDevice());
        CSetParam::ForgetWrittenState();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        for (int ch = 0; ch < 4; ++ch)
            CSetParam::state.pCharacter[ch].ClearAcCalValue();
        TestRig::leaveSimulatedBoard();
    }

    static CH_DATA& rec(CH_ID ch) { return sys_param::HWinfo.PDT[ch]; }
    // The words streamed to a port target, which must have been loaded.
    static QVector<quint64> stream(const QString& name)
    {
        QVector<quint64> v;
        EXPECT_TRUE(fpga().stream(name, &v)) << name.toStdString();
        return v;
    }

    QTemporaryDir dir;
};
