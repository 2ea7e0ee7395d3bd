#include "communication/SCPI/commands/scpi_keys.h"
#include <QMetaObject>
#include <QObject>
#include <QtGlobal>
#include <cstdio>
#include "hardware/CSetParam.h"
#include "hardware/ckeyqthread.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_sync.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/sys_param.h"
#include "platform/logging.h"

namespace {
// The controller (the context's parent). Requests go to it as its own
// signals, emitted by name: this layer does not know the controller's class.
QObject* controllerOf(scpi_t* context) { return context ? context->parent : nullptr; }

CKeyQThread* keysOf(scpi_t*) { return CKeyQThread::instance(); }

bool request(QObject* c, const char* signal, int a)
{
    return c && QMetaObject::invokeMethod(c, signal, Qt::DirectConnection, Q_ARG(int, a));
}

bool request(QObject* c, const char* signal, int a, int b, int d)
{
    return c && QMetaObject::invokeMethod(c, signal, Qt::DirectConnection, Q_ARG(int, a), Q_ARG(int, b), Q_ARG(int, d));
}

// The channel of a "CHANnel#" header, 0..3; -1 (and -108) for another number.
int channelOf(scpi_t* context)
{
    int32_t n = 1;
    if (!SCPI_CommandNumbers(context, &n, 1) || n < 1 || n > 4) {
        SCPI_ErrorPush(context, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return -1;
    }
    return int(n - 1);
}

// The controller's current channel, -1 when it holds none.
int currentChannel(scpi_t* context)
{
    QObject* c = controllerOf(context);
    int ch = -1;
    if (!c || !QMetaObject::invokeMethod(c, "currentChannel", Qt::DirectConnection, Q_RETURN_ARG(int, ch)))
        return -1;
    return ch >= CH1 && ch <= CH4 ? ch : -1;
}

const scpi_choice_def_t kTouchActions[] = {
    {"DOWN", 0},
    {"UP", 1},
    {"MOVE", 2},
    {nullptr, -1},
};
} // namespace

scpi_result_t SCPI_KeyPress(scpi_t* context)
{
    return request(controllerOf(context), "setKeyCmd", SCPI_CmdTag(context), 1, KEY_FROM_REMOTE) ? SCPI_RES_OK
                                                                                                 : SCPI_RES_ERR;
}

scpi_result_t SCPI_KeyLock(scpi_t* context)
{
    keyLockRemoteMode = true;
    bool on = false;
    if (!SCPI_ParamBool(context, &on, true))
        return SCPI_RES_ERR;
    CKeyQThread* keys = keysOf(context);
    if (!keys)
        return SCPI_RES_ERR;
    keys->SetlockKey(static_cast<unsigned char>(SCPI_CmdTag(context)), on);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_KeyLockQ(scpi_t* context)
{
    keyLockRemoteMode = true;
    CKeyQThread* keys = keysOf(context);
    SCPI_ResultBool(context, keys && keys->GetlockKey(static_cast<unsigned char>(SCPI_CmdTag(context))));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_KeyAllLockQ(scpi_t* context)
{
    keyLockRemoteMode = true;
    CKeyQThread* keys = keysOf(context);
    QByteArray text;
    if (keys)
        text = keys->GetAlllockKey().toLatin1();
    else
        text = QByteArray(Key_Backspace - Key_Start + 1, '0');
    SCPI_ResultCharacters(context, text.constData(), size_t(text.size()));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_KeyLedQ(scpi_t* context)
{
    const int code = SCPI_CmdTag(context);
    const int ch = currentChannel(context);
    bool lit = false;
    ScpiInstrument& inst = scpi_instrument(context);
    if (code >= Key_Countinue && code <= Key_Burst) {
        lit = ch >= 0 && int((inst.record().PDT[ch].WorkMode >> 12) & 3) == code - Key_Countinue;
    } else if (code >= Key_Sine && code <= Key_WARB) {
        lit = ch >= 0 && int(inst.record().PDT[ch].BaseWave) == code - Key_Sine;
    } else if (code >= Key_Ch1 && code <= Key_Ch4) {
        lit = inst.outputOn(code - Key_Ch1);
    } else {
        qCWarning(lcScpi, "no led key:%d", code);
    }
    SCPI_ResultBool(context, lit);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_KeyAllLedQ(scpi_t* context)
{
    const int ch = currentChannel(context);
    const uint32_t led = ch >= 0 ? (CSetParam::state.pCharacter[ch].LED & ~uint32_t(0x1E0)) : 0;
    const uint32_t all = CSetParam::state.chAllLed;
    static const uint32_t chBits[14] = {0x8000, 0x10000, 0x4000, 0x20000, 0x2000, 0x1000, 0x800,
                                        0x400,  0x2,     0x4,    0x1,     0x8,    0x200,  0x10};
    static const uint32_t allBits[4] = {0x100, 0x20, 0x40, 0x80};
    char text[18];
    for (int i = 0; i < 14; ++i)
        text[i] = (led & chBits[i]) ? '1' : '0';
    for (int i = 0; i < 4; ++i)
        text[14 + i] = (all & allBits[i]) ? '1' : '0';
    SCPI_ResultCharacters(context, text, sizeof text);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_SystemLock(scpi_t* context)
{
    bool on = false;
    if (!SCPI_ParamBool(context, &on, true))
        return SCPI_RES_ERR;
    pc_lock = on;
    if (CKeyQThread* keys = keysOf(context)) {
        if (on)
            keys->lockALLKey();
        else
            keys->unlockALLKey();
    }
    return SCPI_RES_OK;
}

scpi_result_t SCPI_SystemLockQ(scpi_t* context)
{
    SCPI_ResultBool(context, pc_lock);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_Mouse(scpi_t* context)
{
    int32_t action = 0;
    if (!SCPI_ParamChoice(context, kTouchActions, &action, true))
        return SCPI_RES_ERR;
    int32_t x = 0, y = 0;
    if (!SCPI_ParamInt(context, &x, false) || !SCPI_ParamInt(context, &y, false))
        return SCPI_RES_OK; // no position: nothing to touch
    QObject* c = controllerOf(context);
    if (!request(c, "cmdClick", int(x), int(y), action == 1 ? 0 : 1))
        return SCPI_RES_ERR;
    // The touch is written before the next command is parsed.
    SCPI_WaitApplied(c);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_ChannelSelect(scpi_t* context)
{
    const int ch = channelOf(context);
    if (ch < 0)
        return SCPI_RES_ERR;
    QObject* c = controllerOf(context);
    if (!c)
        return SCPI_RES_ERR;
    if (currentChannel(context) != ch) {
        if (!request(c, "chCmd", ch))
            return SCPI_RES_ERR;
        SCPI_WaitApplied(c);
    }
    return SCPI_RES_OK;
}

scpi_result_t SCPI_ChannelSelectQ(scpi_t* context)
{
    const int ch = channelOf(context);
    if (ch < 0)
        return SCPI_RES_ERR;
    SCPI_ResultBool(context, currentChannel(context) == ch);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CurrentChannelQ(scpi_t* context)
{
    const int ch = currentChannel(context);
    SCPI_ResultInt(context, ch >= 0 ? ch : 255);
    return SCPI_RES_OK;
}
