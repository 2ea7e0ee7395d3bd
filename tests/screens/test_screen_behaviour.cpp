// What the screens do with the controller's calls and with touches: masked
// tabs, the progress bar, messages, the lock mask and the ask dialog.
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include "WaveView/CWaveGreate.h"
#include "hardware/fpga_regs.h"
#include "tests/screens/screens_fixture.h"

namespace {
QVariantList masks(bool ch2) { return {false, ch2, false, false, false}; }
} // namespace

TEST_F(Screens, AMaskedTabRefusesSetChTabWithTheWarningBeep)
{
    QSignalSpy warn(root(), SIGNAL(warnBeep(int)));
    QSignalSpy beep(root(), SIGNAL(beep(int)));
    obj("chmain")->setProperty("mask", masks(true));
    call(obj("tabs"), "setChTab", {1, 2});
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 0);
    ASSERT_EQ(warn.count(), 1);
    EXPECT_EQ(warn[0][0].toInt(), 2);
    EXPECT_EQ(beep.count(), 0);
    // Unmasked, the same call selects the tab with a plain beep and shows
    // that channel's preview only.
    obj("chmain")->setProperty("mask", masks(false));
    call(obj("tabs"), "setChTab", {1, 2});
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 1);
    EXPECT_EQ(beep.count(), 1);
    EXPECT_TRUE(obj("notewaveCh2")->property("visible").toBool());
    EXPECT_FALSE(obj("notewaveCh1")->property("visible").toBool());
    settle();
    EXPECT_EQ(int(ctrl->currentChannel()), 1); // the controller follows the tab
}

TEST_F(Screens, TheProgressBarShowsBelowOneHundredAndClosesTheDialogFromIt)
{
    QObject* ask = obj("askWindow");
    QObject* bar = obj("progress");
    call(root(), "infoWindowState", {QStringLiteral("fileloadding"), 5});
    call(root(), "processBar", {40});
    EXPECT_TRUE(ask->property("visible").toBool());
    EXPECT_TRUE(bar->property("visible").toBool());
    EXPECT_EQ(bar->property("value").toInt(), 40);
    call(root(), "processBar", {100});
    EXPECT_FALSE(ask->property("visible").toBool());
    EXPECT_FALSE(bar->property("visible").toBool());
    call(root(), "infoWindowState", {QStringLiteral("fileloadding"), 5});
    call(root(), "processBar", {-1});
    EXPECT_FALSE(ask->property("visible").toBool());
    // The controller's path: the FPGA loader's progress through Uidata.
    call(root(), "infoWindowState", {QStringLiteral("upgrading"), 2});
    ctrl->ui().updateProcessBar(60);
    settle();
    EXPECT_EQ(bar->property("value").toInt(), 60);
    EXPECT_TRUE(ask->property("visible").toBool());
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(Screens, MessagesShowTheirTableEntryAndOtherTypesNothing)
{
    quietTick();
    QObject* box = obj("messagebox");
    call(root(), "messageTips", {3, 0, QString(), 2000});
    EXPECT_FALSE(box->property("visible").toBool());
    call(root(), "messageTips", {1, 99, QString(), 2000}); // past the table
    EXPECT_FALSE(box->property("visible").toBool());
    call(root(), "messageTips", {0, 7, QStringLiteral("USB "), 2000});
    EXPECT_TRUE(box->property("visible").toBool());
    EXPECT_EQ(box->property("text").toString(), QStringLiteral("USB 设备已锁定"));
    box->setProperty("visible", false);
    call(root(), "messageTips", {3, 0, QStringLiteral("-113,\"Undefined header\""), 2000});
    EXPECT_FALSE(box->property("visible").toBool());
}

// A remote command error reaches the screen the way the interpreter sends
// it: the error entry 0 is empty and the message is the error itself; the
// front panel shows it in the head bar, keeping the parameters in view.
TEST_F(Screens, ARemoteErrorShowsItsOwnText)
{
    const QString error = QStringLiteral("-113,\"Undefined header\"");
    quietTick();
    ASSERT_TRUE(QMetaObject::invokeMethod(ctrl, "TipsMessage", Qt::DirectConnection, Q_ARG(int, MESSAGE_TYPE_ERROR),
                                          Q_ARG(int, int(ERROR_SCPI)), Q_ARG(bool, false), Q_ARG(QString, error),
                                          Q_ARG(bool, true)));
    settle();
    // In the head bar, not over the parameter list.
    QObject* note = obj("remotenote");
    EXPECT_TRUE(note->property("visible").toBool());
    EXPECT_EQ(note->property("text").toString(), error);
    EXPECT_FALSE(obj("messagebox")->property("visible").toBool());
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(Screens, ATouchOnTheLockMaskShowsTheRemoteLockTipAndNothingElse)
{
    auto* window = qobject_cast<QQuickWindow*>(root());
    ASSERT_NE(window, nullptr);
    QSignalSpy beep(root(), SIGNAL(beep(int)));
    QSignalSpy selected(root(), SIGNAL(chSignalSelected(int, int, int, bool, int)));
    call(obj("imglocker"), "setVisible", {true}); // the remote lock icon raises the mask
    EXPECT_TRUE(obj("screenmask")->property("enabled").toBool());
    // A touch on the square entry of the wave list, under the mask.
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(110, 238));
    settle();
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(beep.count(), 0);
    QObject* box = obj("messagebox");
    EXPECT_TRUE(box->property("visible").toBool());
    EXPECT_EQ(box->property("text").toString(), QStringLiteral("远程控制中，设备已锁定，按Utility解锁"));
    // Unlocked, the same touch selects the square wave.
    call(obj("screenmask"), "setEnable", {false});
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(110, 238));
    settle();
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][2].toInt(), int(BASE_Square));
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Square);
}

TEST_F(Screens, TheScreenSaverMaskWakesWithABeep)
{
    quietTick();
    auto* window = qobject_cast<QQuickWindow*>(root());
    QSignalSpy beep(root(), SIGNAL(beep(int)));
    call(obj("screenmask"), "setScreensave", {true, false});
    EXPECT_TRUE(obj("screenmask")->property("enabled").toBool());
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(640, 400));
    ASSERT_EQ(beep.count(), 1);
    EXPECT_EQ(beep[0][0].toInt(), 2);
    EXPECT_FALSE(obj("messagebox")->property("visible").toBool());
    call(obj("screenmask"), "setScreensave", {false, false});
    EXPECT_FALSE(obj("screenmask")->property("enabled").toBool());
}

TEST_F(Screens, TheAskDialogTakesUpDownAndOk)
{
    QObject* ask = obj("askWindow");
    call(root(), "infoWindowState", {QStringLiteral("askWindow"), int(Uidata::ASK_FACTORY)});
    EXPECT_TRUE(ask->property("visible").toBool());
    EXPECT_EQ(ask->property("focusButton").toInt(), 1);
    call(ask, "onkey", {int(Key_Up)});
    EXPECT_EQ(ask->property("focusButton").toInt(), 0);
    call(ask, "onkey", {int(Key_Ok)}); // OK on Cancel closes
    EXPECT_FALSE(ask->property("visible").toBool());
    EXPECT_EQ(ask->property("state").toString(), QStringLiteral("closed"));
    // A power-up notice shows its own text, unless a dialog is up.
    call(root(), "powerinfo", {QStringLiteral("ERROR!\nfan"), int(Uidata::ASK_POWERUPINFO)});
    EXPECT_EQ(ask->property("state").toString(), QStringLiteral("powerupInfo"));
    EXPECT_EQ(ask->property("text").toString(), QStringLiteral("ERROR!\nfan"));
    call(root(), "powerinfo", {QStringLiteral("other"), int(Uidata::ASK_POWERUPINFO)});
    EXPECT_EQ(ask->property("text").toString(), QStringLiteral("ERROR!\nfan"));
}

TEST_F(Screens, TheNumberPadOpensForTheFocusedEntryAndSendsItsKeys)
{
    QObject* vk = obj("vk");
    QSignalSpy keys(root(), SIGNAL(keyPress(int, int, int, int, int)));
    channelModel* freq = entry(0, PARAM_INDEX_FREQ);
    ASSERT_NE(freq, nullptr);
    freq->wparamfocus(true);
    settle();
    EXPECT_TRUE(vk->property("visible").toBool());
    EXPECT_EQ(vk->property("state").toString(), QStringLiteral("Hz"));
    EXPECT_TRUE(vk->property("subkvisible").toBool());
    // The preview moves aside while the pad is open.
    EXPECT_EQ(obj("notewaveCh1")->property("x").toInt(), 760);
    EXPECT_EQ(obj("notewaveCh1")->property("y").toInt(), 260);
    // The row starts on the unit the value is shown in (1 kHz) and wraps
    // on the knob.
    EXPECT_EQ(vk->property("unitFocus").toInt(), 1);
    call(vk, "hdknob", {int(Key_Up), 0});
    call(vk, "hdknob", {int(Key_Up), 0});
    EXPECT_EQ(vk->property("unitFocus").toInt(), 4);
    call(vk, "hidefouce");
    EXPECT_FALSE(vk->property("visible").toBool());
    EXPECT_EQ(obj("notewaveCh1")->property("x").toInt(), 540);
    EXPECT_EQ(keys.count(), 0);
}

// Choosing a mode draws its preview: the output trace of AM, sweep and burst
// is a carrier, not the flat line of an empty table.
TEST_F(Screens, ModeSelectionsDrawTheirPreviewTraces)
{
    auto spread = [](const short* t) {
        short lo = t[0], hi = t[0];
        for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
            lo = std::min(lo, t[i]);
            hi = std::max(hi, t[i]);
        }
        return hi - lo;
    };
    const struct {
        int ch, mode, type;
    } picks[] = {{1, 1, MT_AM}, {2, 2, int(ST_LINE & 0xF)}, {3, 3, 0}};
    for (const auto& p : picks) {
        ctrl->chSignalSelected(p.ch, 0, BASE_Sine, true, BASE_Sine);
        settle();
        ctrl->chSignalSelected(p.ch, p.mode, p.type, false, BASE_Sine);
        settle();
        const SWaveMem* m = CWaveCreate::GetWaveMem(CH_ID(p.ch));
        EXPECT_GT(spread(m->DispBase), 100) << "CH" << p.ch + 1;
        EXPECT_GT(spread(m->DispMixer), 100) << "CH" << p.ch + 1 << " mode " << p.mode;
    }
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

// The number pad's unit row, key by key: digits typed on the panel, the
// highlight moved with Down, OK takes the highlighted unit. Every button of
// every unit family stores the unit it shows.
TEST_F(Screens, EveryUnitButtonStoresTheUnitItShows)
{
    struct Row {
        int wave, index;
        const char* form;
        const char* typed;
        int pos;
        double CH_DATA::*field;
        double want;
    };
    const Row rows[] = {
        {BASE_Sine, PARAM_INDEX_FREQ, "Hz", "25", 0, &CH_DATA::Frequency, 25e6},
        {BASE_Sine, PARAM_INDEX_FREQ, "Hz", "25", 1, &CH_DATA::Frequency, 25e3},
        {BASE_Sine, PARAM_INDEX_FREQ, "Hz", "25", 2, &CH_DATA::Frequency, 25},
        {BASE_Sine, PARAM_INDEX_FREQ, "Hz", "25", 3, &CH_DATA::Frequency, 25e-3},
        {BASE_Sine, PARAM_INDEX_FREQ, "Hz", "25", 4, &CH_DATA::Frequency, 25e-6},
        {BASE_Sine, PARAM_INDEX_FREQ, "Time", "50", 0, &CH_DATA::Period, 50e-9},
        {BASE_Sine, PARAM_INDEX_FREQ, "Time", "50", 1, &CH_DATA::Period, 50e-6},
        {BASE_Sine, PARAM_INDEX_FREQ, "Time", "50", 2, &CH_DATA::Period, 50e-3},
        {BASE_Sine, PARAM_INDEX_FREQ, "Time", "50", 3, &CH_DATA::Period, 50},
        {BASE_Sine, PARAM_INDEX_FREQ, "Time", "50", 4, &CH_DATA::Period, 50e3},
        {BASE_Sine, PARAM_INDEX_AMP, "AmplVoltage", "2", 0, &CH_DATA::Vpp, 2},
        {BASE_Sine, PARAM_INDEX_AMP, "AmplVoltage", "2", 1, &CH_DATA::Vpp, 2e-3},
        {BASE_Sine, PARAM_INDEX_AMP, "AmplVoltage", "2", 2, &CH_DATA::Vrms, 2},
        {BASE_Sine, PARAM_INDEX_AMP, "AmplVoltage", "2", 3, &CH_DATA::Vrms, 2e-3},
        {BASE_Sine, PARAM_INDEX_OFFSET, "DCVoltage", "1", 0, &CH_DATA::Offset, 1},
        {BASE_Sine, PARAM_INDEX_OFFSET, "DCVoltage", "1", 1, &CH_DATA::Offset, 1e-3},
        {BASE_Sine, PARAM_INDEX_PHASE, "Degree", "3", 0, &CH_DATA::Phase, 3},
        {BASE_Sine, PARAM_INDEX_PHASE, "Degree", "3", 2, &CH_DATA::Phase, 180},
        {BASE_Square, PARAM_INDEX_DUTYPULSE, "Percent", "3", 0, &CH_DATA::Duty, 3},
        {BASE_Square, PARAM_INDEX_DUTYPULSE, "Percent", "3", 3, &CH_DATA::Duty, 75},
    };
    QObject* vk = obj("vk");
    QObject* view = obj("inputlistview", obj("ch1mc"));
    ASSERT_NE(view, nullptr);
    for (const Row& r : rows) {
        const std::string what = std::string(r.form) + " button " + std::to_string(r.pos);
        if (int(sys_param::GetChBaseWave(CH1)) != r.wave) {
            ctrl->chSignalSelected(0, 0, r.wave, true, r.wave);
            settle();
        }
        channelModel* m = entry(0, r.index);
        ASSERT_NE(m, nullptr) << what;
        if (r.index == PARAM_INDEX_FREQ && m->runit() != (std::string(r.form) == "Time" ? 1 : 0))
            m->unitClicked(std::string(r.form) == "Time" ? 1 : 0);
        int at = -1;
        for (int i = 0; i < ctrl->ui().chInputList[0].size(); ++i)
            if (ctrl->ui().chInputList[0][i].value<QObject*>() == m)
                at = i;
        ASSERT_GE(at, 0) << what;
        QMetaObject::invokeMethod(view, "forceActiveFocus");
        view->setProperty("currentIndex", at);
        settle();
        for (const char* d = r.typed; *d; ++d)
            key(Key_0 + (*d - '0'));
        ASSERT_TRUE(vk->property("subkvisible").toBool()) << what;
        ASSERT_EQ(vk->property("state").toString(), QString(r.form)) << what;
        const int n = vk->property("units").toList().size();
        for (int i = (r.pos - vk->property("unitFocus").toInt() + n) % n; i > 0; --i)
            key(Key_Down);
        key(Key_Ok);
        EXPECT_NEAR(sys_param::ch(CH1).*r.field, r.want, std::fabs(r.want) * 1e-9) << what;
        EXPECT_FALSE(m->rparamfocus()) << what;
    }
}

// CH1's sync output makes CH3 its sync channel: the role shows on CH3's page,
// its foot box and its utility column, its tab refuses selection with the
// warning beep, and all of it ends with the sync output.
TEST_F(Screens, ASyncChannelShowsItsRoleAndRefusesItsTab)
{
    QSignalSpy warn(root(), SIGNAL(warnBeep(int)));
    for (const bool on : {true, false}) {
        ctrl->setValueCmdProcess(CH1, PARAM_INDEX_CHSYNCOUT, on);
        settle();
        const QString label = on ? QStringLiteral("CH1 SYNC OUT") : QString();
        EXPECT_EQ(ctrl->ui().chRoles().value(2), label);
        EXPECT_EQ(obj("chmain")->property("mask").toList().value(2).toBool(), on);
        QObject* tab = obj("ch3", obj("tabs"));
        EXPECT_EQ(tab->property("role").toString(), label);
        EXPECT_EQ(obj("rolelabel", tab)->property("text").toString(), label);
        const int warned = warn.count();
        key(Key_Ch3);
        EXPECT_EQ(obj("tabs")->property("current").toInt(), on ? 0 : 2) << "sync " << on;
        EXPECT_EQ(warn.count(), warned + (on ? 1 : 0)) << "sync " << on;
        call(obj("tabs"), "setChTab", {0, 2});
        settle();
    }
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

// The factory protection test with the fixture's short on some outputs: the
// simulated FPGA holds those channels' overload bits, and the report names
// each channel's result; only when every output is protected does it end in
// "all is ok".
TEST_F(Screens, TheProtectionTestReportsEachChannel)
{
    struct Row {
        uint8_t shorted;
        const char* lines;
    };
    const Row rows[] = {
        {0x0C, "CH1 AC:FAIL DC:FAIL\nCH2 AC:ok DC:ok\nCH3 AC:FAIL DC:FAIL\nCH4 AC:FAIL DC:FAIL\nprotection failed"},
        {0xFF, "CH1 AC:ok DC:ok\nCH2 AC:ok DC:ok\nCH3 AC:ok DC:ok\nCH4 AC:ok DC:ok\nall is ok"},
    };
    for (const Row& r : rows) {
        // The short keeps the overload bits set while the test runs.
        std::atomic<bool> run {true};
        std::thread fixture([&] {
            while (run) {
                fpga().poke(REG_SAFE_STATUS, QByteArray(1, char(r.shorted)));
                QThread::msleep(1);
            }
        });
        const QString report = ctrl->ui().protectTest();
        run = false;
        fixture.join();
        fpga().poke(REG_SAFE_STATUS, QByteArray(1, '\0'));
        settle();
        EXPECT_EQ(report, QString(r.lines));
        for (int ch = CH1; ch <= CH4; ++ch)
            EXPECT_EQ(sys_param::GetChOnOff(CH_ID(ch)), 0) << "CH" << ch + 1;
    }
}

// Values set by another thread than the screens' (the controller's, on the
// instrument) reach the screen as one notification carrying the newest text:
// a script's burst of setters must neither flood the screens nor leave them
// showing a value from the middle of the burst.
TEST_F(Screens, ABurstOfValuesFromTheEditingThreadShowsTheLastOneOnce)
{
    quietTick();
    channelModel* m = ctrl->GetChModelFormIndex(CH1, PARAM_INDEX_FREQ);
    ASSERT_NE(m, nullptr);
    // The list's row of the entry (a view's rows are items, not children).
    QObject* shownBy = nullptr;
    std::function<void(QQuickItem*)> look = [&](QQuickItem* item) {
        if (item->property("model").value<QObject*>() == m && item->property("valueText").isValid())
            shownBy = item;
        for (QQuickItem* c : item->childItems())
            look(c);
    };
    look(qobject_cast<QQuickWindow*>(root())->contentItem());
    ASSERT_NE(shownBy, nullptr);
    const QString before = shownBy->property("valueText").toString();
    QSignalSpy shown(m, &channelModel::shownChanged);
    std::thread editor([m] {
        for (int i = 1; i <= 200; ++i)
            m->SetValue(2000.0 + i, m->runit());
    });
    editor.join();
    EXPECT_EQ(shown.count(), 0) << "announced outside the screens' thread";
    settle();
    EXPECT_EQ(shown.count(), 1);
    const QString after = shownBy->property("valueText").toString();
    EXPECT_NE(after, before);
    EXPECT_EQ(after, m->text());
    EXPECT_TRUE(after.startsWith(QStringLiteral("2.200"))) << after.toStdString();
}
