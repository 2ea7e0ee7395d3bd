#pragma once
// The controller with its four channels on a fresh simulated board, in the
// test's own thread: queued work runs when the test processes events.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTemporaryDir>
#include "hardware/CSetParam.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"
#include "tests/common/fpga_probe.h"
#include "tests/common/test_rig.h"

class ControllerTest : public ::testing::Test, public FpgaProbe {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        // Headless: the software scene graph, as the program uses it.
        qputenv("QSG_RENDER_LOOP", "basic");
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv);
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(TestRig::useSimulatedBoard(dir.path()));
        ctrl = new Ornav72();
        ASSERT_TRUE(CSetParam::DeviceOpen());
        // A fresh simulated FPGA: nothing written yet.
        CSetParam::ForgetWrittenState();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        delete ctrl;
        TestRig::leaveSimulatedBoard();
    }

    QTemporaryDir dir;
    Ornav72* ctrl = nullptr;
};
