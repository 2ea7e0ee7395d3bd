// The names and functions through which the controller reaches the screens:
// every object the controller looks up is there, every function it calls
// takes the arguments it passes (a clean load: every test of this program
// that checks the screen log).
#include <QSignalSpy>
#include "WaveView/psewave.h"
#include "tests/screens/screens_fixture.h"

TEST_F(Screens, EveryObjectTheControllerLooksUpExists)
{
    for (const char* n : {"statusbar",
                          "imgdusb",
                          "imglocker",
                          "imghusb",
                          "imgnet",
                          "imgnetoff",
                          "ext10m",
                          "ext10mfalse",
                          "appdata",
                          "screenmask",
                          "askWindow",
                          "vk",
                          "headbar",
                          "topmain",
                          "helpview",
                          "overview",
                          "filebrowser",
                          "chmain",
                          "tabs",
                          "tabutility",
                          "utility",
                          "utilitycontext",
                          "utilitylayout",
                          "UtilityChannelSet",
                          "UtilityChannelCouple",
                          "UtilityMerge",
                          "UtilityCounterSet",
                          "countersetlistview",
                          "statisticRec",
                          "counterClr",
                          "UtilityDigitalSet",
                          "UtilitySystemSet",
                          "systeminfo",
                          "innerTemp",
                          "temperaturetxt",
                          "imgcounterswitch",
                          "progress"})
        EXPECT_NE(obj(n), nullptr) << n;
    for (int ch = 1; ch <= 4; ++ch) {
        const QByteArray c = "ch" + QByteArray::number(ch);
        QObject* tab = obj(c.constData(), obj("tabs"));
        ASSERT_NE(tab, nullptr) << c.constData();
        QObject* mc = obj((c + "mc").constData(), tab);
        QObject* cc = obj((c + "cc").constData(), tab);
        ASSERT_NE(mc, nullptr);
        ASSERT_NE(cc, nullptr);
        EXPECT_NE(obj("wavelistview", mc), nullptr);
        EXPECT_NE(obj("inputlistview", mc), nullptr);
        QObject* column = obj("buttonColumn", cc);
        ASSERT_NE(column, nullptr);
        for (const char* b : {"output", "invert", "loadbtn", "copybtn", "handltrig"})
            EXPECT_NE(obj(b, column), nullptr) << b;
        // The previews are the painted items the signals draw into.
        const QByteArray wave = "notewaveCh" + QByteArray::number(ch);
        auto* pse = qobject_cast<PseWave*>(obj(wave.constData()));
        ASSERT_NE(pse, nullptr) << wave.constData();
        EXPECT_EQ(pse->ch, ch - 1);
        EXPECT_EQ(pse->penWidth(), 2);
        EXPECT_EQ(ctrl->preview(ch - 1), pse);
    }
}

TEST_F(Screens, EveryFunctionTheControllerCallsTakesItsArguments)
{
    struct Fn {
        QObject* o;
        const char* name;
        int args;
    };
    QObject* r = root();
    QObject* ch1 = obj("ch1", obj("tabs"));
    QObject* column = obj("buttonColumn", obj("ch1cc", ch1));
    const Fn fns[] = {
        {r, "messageTips", 4},
        {r, "powerinfo", 2},
        {r, "infoWindowState", 2},
        {r, "qmlAskWindowState", 2},
        {r, "processBar", 1},
        {r, "updateProcessBar", 1},
        {r, "screenShot", 3},
        {r, "counteronoff", 1},
        {r, "counterupdate", 4},
        {r, "setChTab", 2},
        {r, "updateMainIndex", 1},
        {r, "pseWaveDisplay", 1},
        {r, "overViewPseWaveDisplay", 0},
        {r, "pseWaveKb", 1},
        {obj("tabs"), "setChTab", 2},
        {obj("chmain"), "setChTab", 2},
        {obj("topmain"), "changeState", 1},
        {obj("helpview"), "getToButtonIndex", 1},
        {obj("askWindow"), "onkey", 1},
        {obj("vk"), "hdknob", 2},
        {obj("vk"), "hidefouce", 0},
        {obj("screenmask"), "setScreensave", 2},
        {obj("screenmask"), "setEnable", 1},
        {obj("imgdusb"), "setVisible", 1},
        {obj("imglocker"), "setVisible", 1},
        {obj("imghusb"), "setVisible", 1},
        {obj("imgnetoff"), "setVisible", 1},
        {obj("ext10m"), "setVisible", 1},
        {obj("ext10mfalse"), "setVisible", 1},
        {obj("appdata"), "channel_Setopposition", 2},
        {obj("appdata"), "channel_Setswitch", 2},
        {obj("appdata"), "channel_SetchLoad", 2},
        {obj("appdata"), "channel_Setchhvalue", 2},
        {obj("appdata"), "channel_Setchlvalue", 2},
        {obj("output", column), "setChecked", 1},
        {obj("invert", column), "setChecked", 1},
        {obj("handltrig", column), "setVisible", 1},
        {obj("loadbtn", column), "setload", 1},
        {obj("copybtn", column), "setvisible", 1},
        {obj("ch1mc", ch1), "setmode", 1},
        {obj("ch1mc", ch1), "setBaseWave", 2},
        {obj("ch1mc", ch1), "setwave", 2},
        {obj("ch1mc", ch1), "paramLoad", 0},
        {obj("inputlistview", ch1), "upCurrentIndex", 0},
        {obj("inputlistview", ch1), "downCurrentIndex", 0},
        {obj("utility"), "updateMainIndex", 1},
        {obj("UtilityCounterSet"), "counterOnkey", 1},
        {obj("UtilityDigitalSet"), "digitalOnkey", 2},
        {obj("UtilitySystemSet"), "updateVersion", 2},
    };
    for (const Fn& f : fns)
        EXPECT_TRUE(hasFunction(f.o, f.name, f.args)) << f.name << "/" << f.args;
    // The root signals the controller connects to.
    for (const char* s :
         {"keyPress(int,int,int,int,int)", "chSignalSelected(int,int,int,bool,int)", "beep(int)", "warnBeep(int)"})
        EXPECT_GE(r->metaObject()->indexOfSignal(s), 0) << s;
}

TEST_F(Screens, ControllerMessagesReachTheScreenWithoutMissingMethods)
{
    // Every kind of message the controller sends: tips, info with a status
    // icon, errors and the ask dialog.
    quietTick();
    ctrl->SendTipsMessageDis(MESSAGE_TYPE_TIPS, TIPS_OUT_OF_RANGE, false, "", true);
    ctrl->SendTipsMessageDis(MESSAGE_TYPE_INFO, STATUSBAR_USBDISK, true, "", true);
    ctrl->SendTipsMessageDis(MESSAGE_TYPE_ERROR, 1, false, "CH1 ", true);
    ctrl->SetInfoWindowState(QStringLiteral("askWindow"), Uidata::ASK_FACTORY);
    settle();
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
    EXPECT_TRUE(obj("imgdusb")->property("visible").toBool());
    EXPECT_TRUE(obj("askWindow")->property("visible").toBool());
    EXPECT_EQ(obj("askWindow")->property("text").toString(),
              QStringLiteral("恢复出厂设置将覆盖当前所有参数，现在执行？"));
    EXPECT_EQ(obj("messagebox")->property("text").toString(), QStringLiteral("CH1 负载异常，已关闭通道！"));
}
