// Front-panel keys in the controller: the beeps, the routing of a key to the
// place that has the focus (ask dialog, help page, channel or utility page)
// and the path of a key to an editing model. Runs in the worker thread; the
// screens are reached only through invoked QML functions.
#include "app/ornav72.h"
#include <QDebug>
#include <QDir>
#include <QVariant>
#include "hardware/CSetParam.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "hardware/ckeyqthread.h"
#include "platform/platformroot.h"
#include "app/qmlcall.h"
#include "param/sys_param.h"

namespace {
const char kCaptureDir[] = "/media/usbdisk/ORNAV96T";

QObject* child(QObject* base, const char* name) { return qmlChild(base, name); }
} // namespace

void Ornav72::beep(int where)
{
    if (!pc_lock && sys_param::HWinfo.Beep && where != KEY_FROM_REMOTE)
        CSetParam::SetBeep(8);
    clrSavescreen();
}

void Ornav72::warnBeep(int where)
{
    if (sys_param::HWinfo.Beep && where != KEY_FROM_REMOTE)
        CSetParam::SetBeep(10);
    clrSavescreen();
}

void Ornav72::chChanged(int ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    currentCh = CH_ID(ch);
    shownCh = ch;
    CSetParam::SetChLedData(currentCh);
}

void Ornav72::keyPress(int key, int repeat, int where)
{
    const int k = key & 0x7F;
    if (k < Key_Start || k > Key_MAX) {
        warnBeep(where);
        qDebug("error key:%d", key);
        return;
    }
    if (screenSaved() && where != KEY_FROM_REMOTE) {
        beep(where); // the activity time wakes the display
        qDebug("this key used for wake up the screen");
        return;
    }
    if (pc_lock && where != KEY_FROM_REMOTE) {
        if (!keyLockRemoteMode) {
            if (k == Key_Utility) {
                pc_lock = false;
                if (KeyQThread)
                    KeyQThread->unlockALLKey();
                beep(where);
            } else {
                warnBeep(where);
                emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_LOCKED, false, QString(), true);
            }
        }
        qDebug("remote controlling key used for unlock the screen");
        return;
    }
    if (key == (Key_Ok | 0x80)) {
        // OK held: a capture of the screen onto the USB disk.
        if (QDir(PlatformRoot::path("/media/usbdisk")).exists()) {
            const QString dir = PlatformRoot::path(kCaptureDir);
            QDir().mkpath(dir);
            qmlCall(mainObject, "screenShot", {true, dir, where}, QmlCall::Queued);
        } else {
            Sys_Error(-808);
            emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_USB_DISK_NOAVALID, false, QString(), true);
            warnBeep(where);
        }
        return;
    }
    if (key & 0x80)
        return; // only OK has a long press

    if (topmainObject) {
        const QString state = qmlProperty(topmainObject, "state").toString();
        if (state == QLatin1String("helpviewframe")) {
            if (key >= Key_Start && key <= Key_Backspace) {
                qmlCall(helpObject, "getToButtonIndex", {key}, QmlCall::Queued);
                beep(where);
            } else {
                qDebug("not hardware help key!");
            }
            return;
        }
        if (state == QLatin1String("overviewframe"))
            qmlCall(topmainObject, "changeState", {QStringLiteral("normalframe")}, QmlCall::Wait);
    }
    if (askwindtype != Uidata::ASK_NONE) {
        beep(where);
        qmlCall(askWindowobj, "onkey", {key}, QmlCall::Queued);
        return;
    }
    const int tab = chObject ? qmlProperty(chObject, "current").toInt() : int(currentCh);
    if (tab >= CH1 && tab <= CH4)
        keyPressCh(key, repeat, where);
    else
        keyPressUtility(key, repeat, where);
}

bool Ornav72::roleTaken(CH_ID ch) const
{
    return ch >= CH1 && ch <= CH4 && channel[ch] && channel[ch]->alterfun != CHANNEL_ALTERFUN_CLOSED;
}

void Ornav72::keyPressCh(int key, int repeat, int where)
{
    if (currentCh < CH1 || currentCh > CH4)
        return;
    QObject* vk = uidata.vkObject;
    if (vk && qmlProperty(vk, "visible").toBool() &&
        qmlProperty(vk, "state").toString() == QLatin1String("fileBrowse")) {
        qmlCall(vk, "hdknob", {key, repeat}, QmlCall::Queued);
        return;
    }
    if (roleTaken(currentCh) && !(key >= Key_Ch1 && key <= Key_Utility)) {
        // The channel carries sync or digital output: its own settings rest.
        warnBeep(where);
        return;
    }
    if (key >= Key_Countinue && key <= Key_Burst) {
        chModSelected(currentCh, key - Key_Countinue);
        beep(where);
        return;
    }
    if (key >= Key_Sine && key <= Key_PRBS) {
        chBaseWaveSelected(currentCh, key - Key_Sine, where);
        return;
    }
    if (key == Key_WARB) {
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_WARB_NOAVALID, false, QString(), true);
        warnBeep(where);
        return;
    }
    if (key >= Key_Ch1 && key <= Key_Utility) {
        const int target = key - Key_Ch1; // Utility is tab 4
        if (target != int(currentCh)) {
            qmlCall(chObject, "setChTab", {target, where}, QmlCall::Queued);
        } else {
            // The key of the channel shown switches its output (what the
            // screen's output button does, with this key's beep).
            if (roleTaken(currentCh)) {
                warnBeep(where);
                return;
            }
            emit setValueCmd(currentCh, PARAM_INDEX_CHSWITCH, sys_param::OnOff[currentCh] ? 0 : 1);
            beep(where);
        }
        return;
    }

    QObject* frame = channel[currentCh] ? channel[currentCh]->mObject : nullptr;
    QObject* view = child(frame, "inputlistview");
    QVariantList* list = uidata.getCurInputlist(currentCh);
    if (!view || !list) {
        qDebug("curChMod== nullptr");
        return;
    }
    channelModel* m = Uidata::getCurChannelModel(view, list);
    if (!m) {
        qDebug("getCurChannelModel error");
        return;
    }
    if (!m->rparamfocus()) {
        if (!qmlProperty(view, "activeFocus").toBool()) {
            qmlCall(view, "forceActiveFocus", {}, QmlCall::Wait);
            beep(where);
            return;
        }
        if (key == Key_Up || key == Key_Down) {
            qmlCall(view, key == Key_Up ? "upCurrentIndex" : "downCurrentIndex", {}, QmlCall::Wait);
            beep(where);
            return;
        }
        if (key == Key_Left || key == Key_Right) {
            qmlCall(frame, "setwave", {-1, key == Key_Right}, QmlCall::Queued);
            beep(where);
            return;
        }
    }
    keyPress(key, repeat, int(currentCh), m->paramindex, where);
}

void Ornav72::keyPress(int realkey, int repeat, int ch, int chlistIndex, int where)
{
    if (screenSaved()) {
        beep(where);
        qDebug("this touch key used for wake up the screen");
        return;
    }
    if (ch < 0 || ch >= int(sizeof keyModelCache / sizeof keyModelCache[0])) {
        warnBeep(where);
        return;
    }
    channelModel* m = keyModelCache[ch];
    if (!m || m->paramindex != chlistIndex) {
        m = GetChModelFormIndex(CH_ID(ch), chlistIndex);
        keyModelCache[ch] = m;
    }
    if (!m) {
        qDebug("GetChModelFormIndex error");
        warnBeep(where);
        return;
    }
    if (m->mask) {
        qDebug("param disabed !");
        warnBeep(where);
        return;
    }
    const bool navigation =
        realkey == Key_Right || realkey == Key_Left || realkey == Key_Up || realkey == Key_Down || realkey == Key_Ok;
    QObject* vk = uidata.vkObject;
    const bool unitRow = m->inputting && navigation && vk && qmlProperty(vk, "subkvisible").toBool();
    if (unitRow && !(realkey == Key_Ok && !m->isMultiSelect)) {
        // The keyboard's unit row takes the arrows while a number is typed.
        qmlCall(vk, "hdknob", {realkey, where}, QmlCall::Queued);
        beep(where);
        return;
    }
    if (unitRow && realkey == Key_Ok) {
        // OK ends the number in the unit highlighted on the row, the one the
        // user sees (it starts on the unit the value was shown in).
        bool ok = false;
        const int unit = qmlProperty(vk, "unitCode").toInt(&ok);
        if (ok && unit >= 0 && unit < 32)
            realkey = unit;
    }
    const QString result = m->onKeyEvent(realkey, repeat);
    if (result == QLatin1String("error"))
        warnBeep(where);
    else
        beep(where);
    if (ch >= CH1 && ch <= CH4)
        setHandlTrig(CH_ID(ch));
}
