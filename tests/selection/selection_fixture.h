#pragma once
// The controller with its four channels and the real screens (main.qml) on a
// simulated board, driven in this thread: queued work runs on settle().
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTemporaryDir>
#include "CSetParam.h"
#include "SCPI/sys_error.h"
#include "channalmodel.h"
#include "channel.h"
#include "ornav72.h"
#include "platformroot.h"
#include "simfpga.h"
#include "simroot.h"
#include "sys_param.h"

inline void initScreenResources()
{
    Q_INIT_RESOURCE(qml);
}

class Selection : public ::testing::Test {
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
        initScreenResources();
    }
    void SetUp() override
    {
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        ctrl = new Ornav72();
        ASSERT_TRUE(CSetParam::DeviceOpen());
        // A fresh simulated FPGA: nothing written yet.
        CSetParam::ForgetWrittenState();
        engine = new QQmlApplicationEngine();
        engine->rootContext()->setContextProperty("uidata", &ctrl->uidata);
        engine->load(QUrl(QStringLiteral("qrc:/qml/main.qml")));
        ASSERT_FALSE(engine->rootObjects().isEmpty());
        ctrl->UIStartUpInit(engine->rootObjects().first());
        settle();
        while (Sys_ErrorCount() > 0)
            Sys_ErrorPop();
        SimFpga::instance().clearWrites();
    }
    void TearDown() override
    {
        delete engine;
        delete ctrl;
        CSetParam::CloseDevice();
        PlatformRoot::setRoot(QString());
    }
    static void settle()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // Parameter indices of the entries a channel's screen shows.
    QList<int> shown(int ch) const
    {
        QList<int> out;
        for (const QVariant& v : ctrl->uidata.chInputList[ch])
            if (channelModel* m = qobject_cast<channelModel*>(v.value<QObject*>()))
                out.append(m->paramindex);
        return out;
    }
    static uint64_t chValue(CH_ID c, unsigned offset, int n)
    {
        const QByteArray b = SimFpga::instance().peek(unsigned(c) * 0x100 + offset, n);
        uint64_t v = 0;
        for (int k = n - 1; k >= 0; --k)
            v = (v << 8) | uint8_t(b.at(k));
        return v;
    }
    channelModel* entry(int ch, int index) const { return ctrl->GetChModelFormIndex(CH_ID(ch), index); }

    QTemporaryDir dir;
    Ornav72* ctrl = nullptr;
    QQmlApplicationEngine* engine = nullptr;
};
