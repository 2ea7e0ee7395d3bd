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
#include "hardware/CSetParam.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "app/screentypes.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"
#include "tests/common/controller_fixture.h"

inline void initScreenResources() { registerScreenTypes(); }

class Selection : public ControllerTest {
protected:
    static void SetUpTestSuite()
    {
        ControllerTest::SetUpTestSuite();
        initScreenResources();
    }
    void SetUp() override
    {
        ControllerTest::SetUp();
        engine = new QQmlApplicationEngine();
        engine->rootContext()->setContextProperty("uidata", &ctrl->ui());
        engine->load(QUrl(QStringLiteral("qrc:/qml/main.qml")));
        ASSERT_FALSE(engine->rootObjects().isEmpty());
        ctrl->UIStartUpInit(engine->rootObjects().first());
        settle();
        while (Sys_ErrorCount() > 0)
            Sys_ErrorPop();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        // The controller goes first: its timer thread calls into the screens
        // (screen saver, status icons) and must not find them deleted.
        delete ctrl;
        ctrl = nullptr;
        delete engine;
        engine = nullptr;
        ControllerTest::TearDown();
    }
    static void settle()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // Parameter indices of the entries of a list the screens show.
    static QList<int> indicesOf(const QVariantList& list)
    {
        QList<int> out;
        for (const QVariant& v : list)
            if (channelModel* m = qobject_cast<channelModel*>(v.value<QObject*>()))
                out.append(m->paramindex);
        return out;
    }
    // ... of the entries a channel's screen shows.
    QList<int> shown(int ch) const { return indicesOf(ctrl->ui().chInputList[ch]); }
    channelModel* entry(int ch, int index) const { return ctrl->GetChModelFormIndex(CH_ID(ch), index); }
    QObject* root() const { return engine->rootObjects().first(); }
    // A key as the panel (or where) sends it, and what it queued.
    void key(int k, int repeat = 1, int where = KEY_FROM_FRONT_PANEL)
    {
        ctrl->keyPress(k, repeat, where);
        settle();
    }
    // A named object of the screens, below base (the root window by default).
    QObject* obj(const char* name, QObject* base = nullptr) const
    {
        return (base ? base : root())->findChild<QObject*>(QString::fromLatin1(name));
    }

    QQmlApplicationEngine* engine = nullptr;
};
