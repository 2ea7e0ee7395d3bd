// Status messages reach the screens through the QML functions of the root
// object and of the status-bar icons.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"

namespace {
const char kScreen[] = R"(
import QtQuick 2.12
Item {
    id: root
    property var calls: []
    function messageTips(type, number, header, ms) { calls.push("tips " + type + " " + number + " " + header + " " + ms) }
    function infoWindowState(state, type) { calls.push("info " + state + " " + type) }
    Item {
        objectName: "statusbar"
        Item { id: usb; objectName: "imgdusb"; visible: false
               function setVisible(v) { visible = v; root.calls.push("usb " + v) } }
        Item { id: extOff; objectName: "ext10mfalse"; visible: true
               function setVisible(v) { visible = v; root.calls.push("ext10mfalse " + v) } }
    }
    // The status bar's part: an icon changes only when its state does.
    Connections {
        target: uidata
        function onMessageTipsRequested(type, number, header, ms) { root.messageTips(type, number, header, ms) }
        function onAskWindowRequested(state, type) { root.infoWindowState(state, type) }
        function onStatusIconChanged(index, shown) {
            var icon = index === 0 ? usb : index === 5 ? extOff : null
            if (icon && icon.visible !== shown)
                icon.setVisible(shown)
        }
    }
}
)";

int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};
} // namespace

class TipsRouting : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv);
    }
    void SetUp() override
    {
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        ctrl = new Ornav72();
        engine.rootContext()->setContextProperty("uidata", &ctrl->ui());
        QQmlComponent c(&engine);
        c.setData(kScreen, QUrl());
        root = c.create();
        ASSERT_NE(root, nullptr) << qPrintable(c.errorString());
        ctrl->UIStartUpInit(root);
        root->setProperty("calls", QVariantList());
    }
    void TearDown() override
    {
        delete ctrl;
        delete root;
        PlatformRoot::setRoot(QString());
    }
    QStringList calls() const { return root->property("calls").toStringList(); }

    QTemporaryDir dir;
    QQmlEngine engine;
    QObject* root = nullptr;
    Ornav72* ctrl = nullptr;
};

// What the screens show of each message: Screens.ControllerMessagesReachTheScreen...
// Here the calls themselves: the numbering per type, the icon only on a
// change, icon-only messages silent.
TEST_F(TipsRouting, EachMessageTypeCallsTheScreenWithItsNumberAndIcon)
{
    const struct {
        int type, index;
        bool show;
        const char* header;
        bool tip;
        QStringList calls;
    } rows[] = {
        {MESSAGE_TYPE_INFO, STATUSBAR_USBDISK, true, "", true, {"usb true", "tips 0 1  2000"}},
        // The same state again: no icon call.
        {MESSAGE_TYPE_INFO, STATUSBAR_USBDISK, true, "hdr", true, {"tips 0 1 hdr 2000"}},
        // The reference back: the icon goes without a message.
        {MESSAGE_TYPE_INFO, STATUSBAR_EXT10FALSE, false, "", true, {"ext10mfalse false"}},
        {MESSAGE_TYPE_TIPS, TIPS_OUT_OF_RANGE, false, "", true, {"tips 1 13  2000"}},
        {MESSAGE_TYPE_ERROR, 3, true, "CH1", true, {"tips 2 4 CH1 2000"}},
        {MESSAGE_TYPE_INFO, STATUSBAR_LOCKER, true, "", false, {}},
        {MESSAGE_TYPE_INFO, STATUSBAR_TEMP, true, "", true, {}},
    };
    for (const auto& r : rows) {
        root->setProperty("calls", QVariantList());
        ctrl->SendTipsMessageDis(r.type, r.index, r.show, r.header, r.tip);
        EXPECT_EQ(calls(), r.calls) << r.type << " " << r.index;
    }
}

TEST_F(TipsRouting, InfoWindowStateRecordsTheDialogKind)
{
    ctrl->SetInfoWindowState("upgrading", Uidata::ASK_UPGTADING);
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_UPGTADING);
    EXPECT_EQ(calls(), QStringList({QString("info upgrading %1").arg(int(Uidata::ASK_UPGTADING))}));
}

TEST_F(TipsRouting, UnknownMessageTypeEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ctrl->SendTipsMessageDis(5, 0, true, "", true), "error type");
}
