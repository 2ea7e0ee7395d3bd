// The digital page's questions and actions. The page runs in the GUI thread
// and reads the settings from the copies the controller publishes; whatever
// changes the controller's state runs in the controller's thread.
#include <QMetaObject>
#include <QThread>
#include "hardware/CSetParam.h"
#include "app/ornav72.h"
#include "app/on_controller.h"
#include "param/sys_param.h"
#include "app/uidata.h"

int Uidata::getdigitalfun() { return shownDigital().type; }

bool Uidata::digitalfunChanged(int fun)
{
    if (!controller)
        return false;
    // The answer the page needs is known here: a type of the list whose
    // channels are free while the output is on (the controller checks again
    // and shows the conflict itself).
    if (fun < DIGITAL_SPI || fun > DIGITAL_UART)
        return false;
    const ShownDigital d = shownDigital();
    if (d.on && !d.typeFree(fun)) {
        emit controller->TipsMessage(MESSAGE_TYPE_TIPS, TIPS_CONFLICT_WORK_AS_SYNC, false, QString(), true);
        return false;
    }
    Ornav72* c = controller;
    onController(c, [c, fun] { c->digitalTypeChanged(fun); });
    return true;
}

bool Uidata::getdigitalfromat() { return shownDigital().textFormat; }

bool Uidata::getdigitalAutoSend() { return shownDigital().autoSend; }

bool Uidata::getdigitalSwitch() { return shownDigital().on; }

bool Uidata::setdigitalSwitch(bool on)
{
    if (!controller)
        return false;
    // Switching off is always possible; on needs the type's channels free.
    const ShownDigital d = shownDigital();
    if (on && !d.typeFree(d.type)) {
        emit controller->TipsMessage(MESSAGE_TYPE_TIPS, TIPS_CONFLICT_WORK_AS_SYNC, false, QString(), true);
        return false;
    }
    controller->beep(2);
    emit controller->setValueCmd(CH_SYS, PARAM_IDNEX_DIGITALSW, on);
    return true;
}

void Uidata::digtalTextChanged(QString text)
{
    if (!controller)
        return;
    Ornav72* c = controller;
    onController(c, [c, text] { c->digital().setText(text); });
}

int Uidata::uartDataBits() { return qMin<int>(shownDigital().uartDataBits, 4) + 4; }

int Uidata::uartStopBits() { return qMin<int>(shownDigital().uartStopBits, 1) + 1; }

int Uidata::iSuartVerify() { return shownDigital().uartParity; }

void Uidata::channelManulTrigChanged(int ch)
{
    if (!controller)
        return;
    if (ch == CH_DIGITAL) {
        if (shownDigital().on) {
            controller->beep(2);
            CSetParam::SetDigitalMannulTrig();
        } else {
            controller->warnBeep(2);
        }
        return;
    }
    if (ch >= CH1 && ch <= CH4) {
        controller->beep(2);
        CSetParam::SetManualTrig(CH_ID(ch));
    }
}
