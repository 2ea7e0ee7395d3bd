// The digital protocol output over the remote interface. Settings go to the
// controller's digital entries as requests (most only when they change the
// stored value); the type change, the data and the data read-back run on the
// controller's thread, waited for; the manual send acts on the hardware.
#include "communication/SCPI/commands/scpi_digital.h"
#include <QByteArray>
#include <QMetaObject>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <cstring>
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/scpi_wfile.h"
#include "communication/SCPI/commands/scpi_digital_host.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/scpi_interface.h"
#include "communication/scpi_msg_adpt.h"
#include "platform/handoff.h"
#include "communication/SCPI/commands/scpi_sync.h"
#include "param/sys_param.h"
#include "platform/logging.h"

namespace {
const scpi_choice_def_t kType[] = {{"SPI", DIGITAL_SPI}, {"IIC", DIGITAL_I2C}, {"UART", DIGITAL_UART}, {nullptr, 0}};
const scpi_choice_def_t kFormat[] = {{"HEX", 0}, {"CHAR", 1}, {nullptr, 0}};
const scpi_choice_def_t kParity[] = {{"NONe", 0}, {"EVEN", 1}, {"ODD", 2}, {nullptr, 0}};
const unsigned kMaxData = 2048;

// The record as the controller last published it (the live one belongs to
// the controller's thread).
const HardWareInfo& rec(scpi_t* c) { return scpi_instrument(c).record(); }

// The host behind the context: the part its parent hands out, or the parent
// itself; null without a controller (a test table).
ScpiDigitalHost* controllerOf(scpi_t* c)
{
    if (!c)
        return nullptr;
    if (auto* owner = dynamic_cast<ScpiDigitalHostOwner*>(c->parent))
        return owner->digitalHost();
    return dynamic_cast<ScpiDigitalHost*>(c->parent);
}

// Runs f on the controller's thread and waits for it.
template <typename F>
bool onController(scpi_t* c, F f)
{
    ScpiDigitalHost* o = controllerOf(c);
    if (!o)
        return false;
    QObject* q = c->parent;
    if (q->thread() == QThread::currentThread())
        f(o);
    else {
        handoffSend(&f);
        QMetaObject::invokeMethod(
            q,
            [o, &f] {
                handoffTake(&f);
                f(o);
                handoffSend(&f);
            },
            Qt::BlockingQueuedConnection);
        handoffTake(&f);
    }
    return true;
}

scpi_result_t request(scpi_t* c, int paramindex, double value)
{
    if (c->parent) {
        QMetaObject::invokeMethod(c->parent, "setValueCmd", Qt::DirectConnection, Q_ARG(int, CH_DIGITAL),
                                  Q_ARG(int, paramindex), Q_ARG(double, value));
        SCPI_WaitApplied(c->parent);
    }
    return SCPI_RES_OK;
}

scpi_result_t requestIfChanged(scpi_t* c, int paramindex, double value, double stored)
{
    return value == stored ? SCPI_RES_OK : request(c, paramindex, value);
}

// A number whose suffix, if any, is of the given kind; a suffix of another
// kind reports -109, as a missing number does.
bool number(scpi_t* c, scpi_unit_t kind, double* value)
{
    scpi_number_t n;
    if (!SCPI_ParamNumber(c, nullptr, &n, true))
        return false;
    if (n.unit != SCPI_UNIT_NONE && (kind == SCPI_UNIT_NONE || n.unit != kind)) {
        SCPI_ErrorPush(c, SCPI_ERROR_MISSING_PARAMETER);
        return false;
    }
    *value = n.value;
    return true;
}

scpi_result_t name(scpi_t* c, const scpi_choice_def_t* list, int position)
{
    for (int i = 0; list[i].name; ++i)
        if (i == position) {
            SCPI_ResultCharacters(c, list[i].name, std::strlen(list[i].name));
            return SCPI_RES_OK;
        }
    return SCPI_RES_ERR;
}

scpi_result_t boolean(scpi_t* c, bool v)
{
    SCPI_ResultBool(c, v);
    return SCPI_RES_OK;
}

scpi_result_t integer(scpi_t* c, double v)
{
    SCPI_ResultInt(c, int32_t(v));
    return SCPI_RES_OK;
}

scpi_result_t scientific(scpi_t* c, double v)
{
    SCPI_ResultScientific(c, v);
    return SCPI_RES_OK;
}

// An integer in lo..hi; outside it -224.
bool integerIn(scpi_t* c, int32_t lo, int32_t hi, int32_t* v)
{
    if (!SCPI_ParamInt(c, v, true))
        return false;
    if (*v < lo || *v > hi) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    return true;
}
} // namespace

scpi_result_t SCPI_DigitalSw(scpi_t* c)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    // The type's channels must not carry a sync output.
    ScpiDigitalHost* o = controllerOf(c);
    if (on && o && !o->digitalLinesFree(rec(c).digitalType))
        return SCPI_RES_ERR;
    return request(c, PARAM_IDNEX_DIGITALSW, on ? 1 : 0);
}

scpi_result_t SCPI_DigitalSwQ(scpi_t* c) { return boolean(c, scpi_instrument(c).digitalOn()); }

scpi_result_t SCPI_DigitalType(scpi_t* c)
{
    int32_t tag = 0;
    if (!SCPI_ParamChoice(c, kType, &tag, true))
        return SCPI_RES_ERR;
    bool accepted = false;
    onController(c, [&accepted, tag](ScpiDigitalHost* o) { accepted = o->digitalChangeType(tag); });
    return accepted ? SCPI_RES_OK : SCPI_RES_ERR;
}

scpi_result_t SCPI_DigitalTypeQ(scpi_t* c) { return name(c, kType, rec(c).digitalType); }

scpi_result_t SCPI_DigitalAmplitude(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_VOLT, &v))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_INDEX_DIGITAL_VALTAGE, v, double(rec(c).digitalAmplitude));
}

scpi_result_t SCPI_DigitalAmplitudeQ(scpi_t* c) { return scientific(c, double(rec(c).digitalAmplitude)); }

scpi_result_t SCPI_DigitalFormat(scpi_t* c)
{
    int32_t tag = 0;
    if (!SCPI_ParamChoice(c, kFormat, &tag, true))
        return SCPI_RES_ERR;
    return request(c, PARAM_IDNEX_DIGITAL_FORMAT, tag);
}

scpi_result_t SCPI_DigitalFormatQ(scpi_t* c) { return name(c, kFormat, rec(c).digitalfromat ? 1 : 0); }

scpi_result_t SCPI_DigitalData(scpi_t*)
{
    scpi_wfile_arm(WF_DIGITALDATA, 0, "digitalData");
    return SCPI_RES_OK;
}

scpi_result_t SCPI_DigitalDataQ(scpi_t* c)
{
    QByteArray data;
    onController(c, [&data](ScpiDigitalHost* o) { data = o->digitalData(); });
    SCPI_ResultArbitraryBlock(c, data.constData(), size_t(data.size()));
    return SCPI_RES_OK;
}

void SCPI_DigitalDataReceived(scpi_t* c, const char* data, long length)
{
    if (!data || length < 0)
        length = 0;
    // The message terminator is framing, not data: the transports end every
    // message with LF (VXI-11 and USBTMC append one to a message without).
    if (length > 0 && data[length - 1] == '\n') {
        --length;
        if (length > 0 && data[length - 1] == '\r')
            --length;
    }
    if (length > long(kMaxData))
        length = long(kMaxData);
    qCInfo(lcScpi, "get digital data len:%ld first data:%d", length, length > 0 ? int(uint8_t(data[0])) : 0);
    const QByteArray bytes(data, int(length));
    onController(c, [&bytes](ScpiDigitalHost* o) { o->digitalTakeRemoteData(bytes); });
}

scpi_result_t SCPI_DigitalTrigger(scpi_t* c)
{
    if (!scpi_instrument(c).digitalOn() || rec(c).digitalAutoSend)
        return SCPI_RES_ERR;
    CSetParam::SetDigitalMannulTrig();
    return SCPI_RES_OK;
}

scpi_result_t SCPI_DigitalAutoSend(scpi_t* c)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_IDNEX_DIGITALAUTOSEND, on ? 1 : 0, rec(c).digitalAutoSend ? 1 : 0);
}

scpi_result_t SCPI_DigitalAutoSendQ(scpi_t* c) { return boolean(c, rec(c).digitalAutoSend); }

scpi_result_t SCPI_DigitalInterval(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_SECONDS, &v))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_IDNEX_DIGITALSENDINTERVAL, v, rec(c).digitalASendInterval);
}

scpi_result_t SCPI_DigitalIntervalQ(scpi_t* c) { return scientific(c, rec(c).digitalASendInterval); }

scpi_result_t SCPI_DigitalSpiClock(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_HERTZ, &v))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_IDNEX_SPICLK, v, double(rec(c).digitalSPIClk));
}

scpi_result_t SCPI_DigitalSpiClockQ(scpi_t* c) { return integer(c, double(rec(c).digitalSPIClk)); }

scpi_result_t SCPI_DigitalI2cClock(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_HERTZ, &v))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_IDNEX_I2CCLK, v, double(rec(c).digitalI2CClk));
}

scpi_result_t SCPI_DigitalI2cClockQ(scpi_t* c) { return integer(c, double(rec(c).digitalI2CClk)); }

scpi_result_t SCPI_DigitalI2cAddr(scpi_t* c)
{
    // 0..127 go out as 7-bit addresses, 128..1023 as 10-bit ones; nothing
    // larger fits the address bytes. An address outside is refused whole, as
    // the entry's range (-801): clamped, it would name another device.
    int32_t v = 0;
    if (!SCPI_ParamInt(c, &v, true))
        return SCPI_RES_ERR;
    if (v < 0 || v > SCPI_DIGITAL_I2C_ADDR_MAX) {
        SCPI_ErrorPush(c, SCPI_ERROR_OUT_OF_RANGE);
        return SCPI_RES_ERR;
    }
    return requestIfChanged(c, PARAM_IDNEX_I2CADDR, v, rec(c).digitalI2CAddr);
}

scpi_result_t SCPI_DigitalI2cAddrQ(scpi_t* c) { return integer(c, rec(c).digitalI2CAddr); }

scpi_result_t SCPI_DigitalBaud(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_NONE, &v))
        return SCPI_RES_ERR;
    return requestIfChanged(c, PARAM_INDEX_UARTBAUDRATE, v, rec(c).digitalUARTBaudrate);
}

scpi_result_t SCPI_DigitalBaudQ(scpi_t* c) { return integer(c, rec(c).digitalUARTBaudrate); }

// UART bit counts lo..hi are stored as their distance from lo.
static scpi_result_t bitCount(scpi_t* c, int lo, int hi, int index)
{
    int32_t v = 0;
    if (!integerIn(c, lo, hi, &v))
        return SCPI_RES_ERR;
    return request(c, index, v - lo);
}

static scpi_result_t bitCountQ(scpi_t* c, int lo, int hi, int stored)
{
    return integer(c, qMin<int>(stored, hi - lo) + lo);
}

scpi_result_t SCPI_DigitalUartBits(scpi_t* c) { return bitCount(c, 4, 8, PARAM_INDEX_UARTDATABITS); }

scpi_result_t SCPI_DigitalUartBitsQ(scpi_t* c) { return bitCountQ(c, 4, 8, rec(c).digitalUARTDataBits); }

scpi_result_t SCPI_DigitalUartStop(scpi_t* c) { return bitCount(c, 1, 2, PARAM_INDEX_UARTSTOPBITS); }

scpi_result_t SCPI_DigitalUartStopQ(scpi_t* c) { return bitCountQ(c, 1, 2, rec(c).digitalUARTStopBits); }

scpi_result_t SCPI_DigitalUartParity(scpi_t* c)
{
    int32_t tag = 0;
    if (!SCPI_ParamChoice(c, kParity, &tag, true))
        return SCPI_RES_ERR;
    return request(c, PARAM_INDEX_UARTVERIFY, tag);
}

scpi_result_t SCPI_DigitalUartParityQ(scpi_t* c) { return name(c, kParity, rec(c).digitalUARTParity); }

// The receiver the worker calls with the message after "DIGital:DATa".
void SCPI_DigitalDataReceiver(const char* data, long length)
{
    if (std::strcmp(wfile_name, "digitalData") == 0)
        SCPI_DigitalDataReceived(&scpi_context, data, length);
}
