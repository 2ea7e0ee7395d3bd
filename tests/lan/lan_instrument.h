#pragma once
// The real program on a fresh simulated board, for the LAN services' tests:
// settings written to its settings file before the start, its log collected.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>
#include "tests/common/instrument_process.h"

class LanInstrument {
public:
    // True once the program logged that it runs.
    bool start(const QMap<QString, QString>& settings = {});
    void stop() { program_.reset(); }
    bool waitFor(const QByteArray& text, int timeoutMs = 10000)
    {
        return program_ && program_->waitFor(text, timeoutMs);
    }
    const QByteArray& log() { return program_ ? program_->output() : none_; }
    QString root() const { return dir_.path(); }
    bool running() const { return program_ && program_->running(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<TestRig::InstrumentProcess> program_;
    QByteArray none_;
};

// A suite whose tests share one program, started before the first test and
// serving once it has logged readyLine; still running after each test.
class LanSuite : public ::testing::Test {
protected:
    static void startWaitingFor(const char* readyLine)
    {
        inst = new LanInstrument;
        up = inst->start() && inst->waitFor(readyLine);
    }
    static void TearDownTestSuite()
    {
        delete inst;
        inst = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(up) << inst->log().constData(); }
    void TearDown() override { EXPECT_TRUE(inst->running()) << inst->log().constData(); }

    static LanInstrument* inst;
    static bool up;
};

// The identification the factory record gives.
extern const QByteArray kLanFactoryIdn;
