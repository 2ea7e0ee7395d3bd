// System settings the controller answers with the screens up: the
// external-reference icon, the restart question after a language change,
// and the stored reference clock programmed at start-up.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include "app/channalmodel.h"
#include "app/ornav72.h"
#include "param/sys_param.h"
#include "tests/common/controller_fixture.h"

namespace {
const char kScreen[] = R"(
import QtQuick 2.12
Item {
    id: root
    property var calls: []
    function messageTips(type, number, header, ms) { calls.push("tips " + type + " " + number) }
    function infoWindowState(state, type) { calls.push("info " + state + " " + type) }
    Item {
        objectName: "statusbar"
        Item { id: ext; objectName: "ext10m"; visible: false
               function setVisible(v) { visible = v; root.calls.push("ext10m " + v) } }
    }
    Connections {
        target: uidata
        function onMessageTipsRequested(type, number, header, ms) { root.messageTips(type, number, header, ms) }
        function onAskWindowRequested(state, type) { root.infoWindowState(state, type) }
        function onStatusIconChanged(index, shown) { if (index === 4) ext.setVisible(shown) }
    }
}
)";
} // namespace

class SettingHandlers : public ControllerTest {
protected:
    void start()
    {
        engine.rootContext()->setContextProperty("uidata", &ctrl->ui());
        QQmlComponent c(&engine);
        c.setData(kScreen, QUrl());
        root = c.create();
        ASSERT_NE(root, nullptr) << qPrintable(c.errorString());
        ctrl->UIStartUpInit(root);
    }
    void TearDown() override
    {
        ControllerTest::TearDown();
        delete root;
    }
    void remote(int index, double v)
    {
        emit ctrl->setValueCmd(CH_SYS, index, v);
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    QStringList calls() const { return root->property("calls").toStringList(); }
    bool iconShown() const { return root->findChild<QObject*>("ext10m")->property("visible").toBool(); }

    QQmlEngine engine;
    QObject* root = nullptr;
};

TEST_F(SettingHandlers, TheReferenceSourceShowsOrHidesTheExternalIcon)
{
    start();
    ASSERT_FALSE(iconShown());
    root->setProperty("calls", QVariantList());
    remote(PARAM_INDEX_SYSCLKSOURCE, 1);
    EXPECT_TRUE(iconShown());
    EXPECT_TRUE(calls().contains("tips 0 9")) << qPrintable(calls().join(" | "));
    remote(PARAM_INDEX_SYSCLKSOURCE, 0);
    EXPECT_FALSE(iconShown());
    EXPECT_TRUE(calls().contains("tips 0 8")) << qPrintable(calls().join(" | "));

    // The clock output alone leaves the icon and the screen alone.
    root->setProperty("calls", QVariantList());
    remote(PARAM_INDEX_SYSCLKOUT, 1);
    EXPECT_TRUE(calls().isEmpty()) << qPrintable(calls().join(" | "));
    EXPECT_FALSE(iconShown());
}

TEST_F(SettingHandlers, ALanguageChangeAsksForTheRestart)
{
    start();
    root->setProperty("calls", QVariantList());
    const int lang = int(sys_param::GetLanguage(CH_SYS));
    remote(PARAM_INDEX_SYSLANGUAGE, lang == 0 ? 1 : 0);
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_LANGUAGE);
    EXPECT_TRUE(calls().contains(QString("info askWindow %1").arg(int(Uidata::ASK_LANGUAGE))))
        << qPrintable(calls().join(" | "));
}

TEST_F(SettingHandlers, StartUpProgramsTheStoredReferenceAndRestartsThePhases)
{
    sys_param::HWinfo.ClockSource = true;
    sys_param::HWinfo.ClockOut = true;
    start();
    EXPECT_TRUE(ctrl->supervision().externalReferenceValid());
    EXPECT_TRUE(iconShown());
    EXPECT_FALSE(calls().contains("tips 0 9")) << "at start-up the icon only";
    EXPECT_EQ(value(REG_CLK_SOURCE, 1), 3u);
    const int clk = lastWrite(REG_CLK_SOURCE);
    ASSERT_GE(clk, 0);
    EXPECT_EQ(writeOf(REG_SYNC_RESET, 15, true) > clk, true) << "a forced reset after the clock";
}
