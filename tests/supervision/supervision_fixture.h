#pragma once
// The controller on a fresh simulated board, bound to a small screen that
// records the QML functions the controller calls. The timer thread is
// stopped: each test runs the system tick itself, on a clock it sets.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include "hardware/CSetParam.h"
#include "communication/SCPI/sys_error.h"
#include "app/misc.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"
#include "tests/common/fpga_probe.h"

namespace supervision {

inline const char* screen()
{
    return R"(
import QtQuick 2.12
Item {
    id: root
    property var calls: []
    function messageTips(type, number, header, ms) { calls.push("tips " + type + " " + number + " " + header) }
    function infoWindowState(state, type) { calls.push("info " + state + " " + type) }
    function powerinfo(text, n) { calls.push("powerinfo " + text + n) }
    Item { id: mask; objectName: "screenmask"
           function setScreensave(s, locked) { root.calls.push("screensave " + s) } }
    Connections {
        target: uidata
        function onMessageTipsRequested(type, number, header, ms) { root.messageTips(type, number, header, ms) }
        function onScreenSaveChanged(saver, locked) { mask.setScreensave(saver, locked) }
        function onAskWindowRequested(state, type) { root.infoWindowState(state, type) }
        function onPowerInfoRequested(text, type) { root.powerinfo(text, type) }
        function onBrowserCloseRequested() { if (vk.visible && vk.state === "fileBrowse") vk.hidefouce() }
    }
    Item { id: vk; objectName: "vk"; visible: true; state: "fileBrowse"
           states: [ State { name: "fileBrowse" } ]
           function hidefouce() { root.calls.push("hidefouce") } }
}
)";
}

// The uptime the controller sees, in ms.
inline qint64& now()
{
    static qint64 t = 0;
    return t;
}
inline qint64 testClock() { return now(); }

inline int argc = 1;
inline char arg0[] = "test";
inline char* argv[] = {arg0, nullptr};

} // namespace supervision

class SupervisionTest : public ::testing::Test, public FpgaProbe {
protected:
    static void SetUpTestSuite()
    {
        if (!QGuiApplication::instance())
            new QGuiApplication(supervision::argc, supervision::argv);
    }
    // Board root prepared; settings may be written before start().
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        misc::ResetDS18B20();
        supervision::now() = 1000;
        Ornav72::setUptimeSource(&supervision::testClock);
        Ornav72::setUptimeOffset(0);
        Sys_ErrorClear();
    }
    // Constructs and binds the controller; the first tick takes in the
    // board as it is (disk present, 25 °C ...).
    void start(bool firstTick = true)
    {
        ctrl = new Ornav72();
        engine.rootContext()->setContextProperty("uidata", &ctrl->ui());
        QQmlComponent c(&engine);
        c.setData(supervision::screen(), QUrl());
        root = c.create();
        ASSERT_NE(root, nullptr) << qPrintable(c.errorString());
        ASSERT_TRUE(CSetParam::DeviceOpen());
        ctrl->UIStartUpInit(root);
        emit ctrl->cmdStopTimer();
        settle();
        startCalls = calls();
        if (firstTick)
            tick();
        CSetParam::ForgetWrittenState();
        fpga().clearWrites();
        ShellRunner::clearRecorded();
        Sys_ErrorClear();
        clearCalls();
    }
    void TearDown() override
    {
        delete ctrl;
        ctrl = nullptr;
        delete root;
        CSetParam::CloseDevice();
        misc::ResetDS18B20();
        Ornav72::setUptimeSource(nullptr);
        PlatformRoot::setRoot(QString());
    }

    void tick()
    {
        ctrl->SysTimer_Slots();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    QStringList calls() const { return root->property("calls").toStringList(); }
    void clearCalls() { root->setProperty("calls", QVariantList()); }

    QString file(const QString& boardPath) const { return dir.path() + boardPath; }
    QByteArray readFile(const QString& boardPath) const
    {
        QFile f(file(boardPath));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writeFile(const QString& boardPath, const QByteArray& text) const
    {
        QDir().mkpath(QFileInfo(file(boardPath)).absolutePath());
        QFile f(file(boardPath));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    void setTemperature(const QByteArray& milli) const
    {
        writeFile(SimRoot::kThermometerFile, "90 01 4b 46 7f ff 0c 10 1c t=" + milli + "\n");
    }
    void setting(const QString& key, const QVariant& v) const
    {
        QSettings s(file("/home/root/settings.ini"), QSettings::IniFormat);
        s.setValue(key, v);
    }
    static QList<int> errors()
    {
        QList<int> out;
        while (Sys_ErrorCount() > 0)
            out << Sys_ErrorPop();
        return out;
    }
    static bool on(int ch) { return sys_param::GetChOnOff(CH_ID(ch)) != 0; }
    void switchOn(int ch)
    {
        ctrl->ChannelOnOff(CH_ID(ch), true);
        settle();
    }

    QTemporaryDir dir;
    QStringList startCalls; // QML calls made while the controller started
    QQmlEngine engine;
    QObject* root = nullptr;
    Ornav72* ctrl = nullptr;
};
