// Front-panel keys in the controller: the beeps, the routing of a key to the
// place that has the focus (ask dialog, help page, channel or utility page)
// and the path of a key to an editing model. Runs in the worker thread: it
// decides on the screens' state as they last reported it to Uidata and asks
// them for each move with a Uidata request, never waiting for them.
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
#include "app/screenviews.h"
#include "communication/remote_road.h"
#include "param/sys_param.h"

namespace {
const char kCaptureDir[] = "/media/usbdisk/ORNAV96T";
} // namespace

// A request to the screens, posted as a hop of the remote road: what the
// screens answer is applied before a remote "*OPC?" replies.
void Ornav72::askScreens(std::function<void(Uidata*)> emitRequest)
{
    Uidata* ui = &uidata;
    RemoteRoad::chain(ui, [ui, emitRequest]() { emitRequest(ui); });
}

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
            askScreens([dir, where](Uidata* ui) { emit ui->screenShotRequested(true, dir, where); });
        } else {
            Sys_Error(-808);
            emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_USB_DISK_NOAVALID, false, QString(), true);
            warnBeep(where);
        }
        return;
    }
    if (key & 0x80)
        return; // only OK has a long press

    const ScreenState screen = uidata.screenState();
    if (screen.frame == QLatin1String("helpviewframe")) {
        if (key >= Key_Start && key <= Key_Backspace) {
            askScreens([key](Uidata* ui) { emit ui->helpKeyRequested(key); });
            beep(where);
        } else {
            qDebug("not hardware help key!");
        }
        return;
    }
    if (screen.frame == QLatin1String("overviewframe")) {
        const QString normal = QStringLiteral("normalframe");
        uidata.noteFrame(normal);
        askScreens([normal](Uidata* ui) { emit ui->frameRequested(normal); });
    }
    if (askwindtype != Uidata::ASK_NONE) {
        beep(where);
        askScreens([key](Uidata* ui) { emit ui->askKeyRequested(key); });
        return;
    }
    if (screen.tab >= CH1 && screen.tab <= CH4)
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
    const ScreenState screen = uidata.screenState();
    if (screen.keyboardShown && screen.keyboardState == QLatin1String("fileBrowse")) {
        askScreens([key, repeat](Uidata* ui) { emit ui->keyboardKnobRequested(key, repeat); });
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
            askScreens([target, where](Uidata* ui) { emit ui->tabRequested(target, where); });
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

    const QString view = ScreenView::inputList(currentCh);
    QVariantList* list = uidata.getCurInputlist(currentCh);
    if (!list) {
        qDebug("curChMod== nullptr");
        return;
    }
    channelModel* m = uidata.getCurChannelModel(view, list);
    if (!m) {
        qDebug("getCurChannelModel error");
        return;
    }
    if (!m->rparamfocus()) {
        if (!screen.hasFocus(view)) {
            focusList(view);
            beep(where);
            return;
        }
        if (key == Key_Up || key == Key_Down) {
            stepList(view, key == Key_Up, uidata.shownList(*list).size());
            beep(where);
            return;
        }
        if (key == Key_Left || key == Key_Right) {
            // The previous or next entry of the wave list.
            const int ch = int(currentCh);
            const bool next = key == Key_Right;
            askScreens([ch, next](Uidata* ui) { emit ui->chWaveRequested(ch, -1, next); });
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
    const bool unitRow = m->inputting && navigation && uidata.screenState().unitRowShown;
    if (unitRow && !(realkey == Key_Ok && !m->isMultiSelect)) {
        // The keyboard's unit row takes the arrows while a number is typed.
        askScreens([realkey, where](Uidata* ui) { emit ui->keyboardKnobRequested(realkey, where); });
        beep(where);
        return;
    }
    if (unitRow && realkey == Key_Ok) {
        // OK ends the number in the unit highlighted on the row, the one the
        // user sees (it starts on the unit the value was shown in): the
        // keyboard hands that unit back to this path as the model's key.
        const int paramindex = m->paramindex;
        askScreens([repeat, ch, paramindex, where](Uidata* ui) {
            emit ui->keyboardUnitRequested(repeat, ch, paramindex, where);
        });
        return;
    }
    const QString result = m->onKeyEvent(realkey, repeat);
    if (result == QLatin1String("error"))
        warnBeep(where);
    else
        beep(where);
    if (ch >= CH1 && ch <= CH4)
        setHandlTrig(CH_ID(ch));
}

void Ornav72::focusList(const QString& view)
{
    uidata.noteViewFocus(view);
    askScreens([view](Uidata* ui) { emit ui->listFocusRequested(view); });
}

void Ornav72::setListIndex(const QString& view, int index)
{
    uidata.noteViewIndex(view, index);
    askScreens([view, index](Uidata* ui) { emit ui->listIndexRequested(view, index); });
}

int Ornav72::stepList(const QString& view, bool up, int count)
{
    // The views stop at their ends (no wrapping).
    const int i = uidata.screenState().indexOf(view);
    const int next = up ? qMax(0, i - 1) : qMax(0, qMin(count - 1, i + 1));
    uidata.noteViewIndex(view, next);
    askScreens([view, up](Uidata* ui) { emit ui->listStepRequested(view, up); });
    return next;
}

void Ornav72::moveListColumn(const QString& view, bool right, int rows, int count)
{
    const int i = uidata.screenState().indexOf(view);
    if (right ? i + rows < count : i >= rows)
        uidata.noteViewIndex(view, right ? i + rows : i - rows);
    askScreens([view, right](Uidata* ui) { emit ui->listColumnRequested(view, right); });
}
