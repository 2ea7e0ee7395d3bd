#pragma once
// Shared pieces of the FPGA tests: a simulated board root for the process,
// a capture of the diagnostics, and helpers over the simulated FPGA.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>
#include "hardware/CSetParam.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "simboard/simroot.h"
#include "tests/common/test_rig.h"

// A fresh simulated board root for one test; the register device is closed
// and the root released when the test ends. Nothing here ever reaches the
// host's devices or shell.
class SimBoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(TestRig::useSimulatedBoard(dir.path()));
        ASSERT_TRUE(PlatformRoot::simulated());
    }
    void TearDown() override { TestRig::leaveSimulatedBoard(); }
    QString file(const char* boardPath) const { return dir.path() + boardPath; }
    void writeFile(const char* boardPath, const QByteArray& content) const
    {
        QFile f(file(boardPath));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray readFile(const char* boardPath) const
    {
        QFile f(file(boardPath));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Opens the register device on the simulated FPGA and forgets the writes
    // of the power-on.
    void openDevice()
    {
        ASSERT_TRUE(CSetParam::OpenDevice());
        SimFpga::instance().clearWrites();
    }
    static SimFpga& fpga() { return SimFpga::instance(); }
    static QByteArray bytes(std::initializer_list<int> b)
    {
        QByteArray out;
        for (int v : b)
            out.append(char(v));
        return out;
    }

    QTemporaryDir dir;
};

// Collects the messages of the Qt logger while it lives.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    QStringList messages() const;
    bool contains(const QString& text) const { return messages().contains(text); }

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg);
    static QMutex s_mutex;
    static QStringList s_messages;
    QtMessageHandler m_previous;
};
