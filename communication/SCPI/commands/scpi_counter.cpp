// The frequency counter over the remote interface. Settings go to the
// controller's counter entries as requests; the results are the latest the
// counter display read from the counter registers.
#include "communication/SCPI/commands/scpi_counter.h"
#include <QMetaObject>
#include <cstring>
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_sync.h"
#include "param/sys_param.h"

namespace {
// The record as the controller last published it (the live one belongs to
// the controller's thread).
const HardWareInfo& rec(scpi_t* c) { return scpi_instrument(c).record(); }
const scpi_choice_def_t kCoupling[] = {{"AC", 0}, {"DC", 1}, {"NONe", 2}, {nullptr, 0}};

// setValueCmd(ch, paramindex, value) to the controller, then wait until it
// has been applied so that a following query sees it.
scpi_result_t request(scpi_t* c, int ch, int paramindex, double value)
{
    if (c->parent) {
        QMetaObject::invokeMethod(c->parent, "setValueCmd", Qt::DirectConnection, Q_ARG(int, ch),
                                  Q_ARG(int, paramindex), Q_ARG(double, value));
        SCPI_WaitApplied(c->parent);
    }
    return SCPI_RES_OK;
}

// A number whose suffix, if any, is of the given kind (NONE: no suffix).
bool number(scpi_t* c, scpi_unit_t kind, double* value)
{
    scpi_number_t n;
    if (!SCPI_ParamNumber(c, nullptr, &n, true))
        return false;
    if (n.unit != SCPI_UNIT_NONE && n.unit != kind) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    *value = n.value;
    return true;
}

scpi_result_t choiceName(scpi_t* c, const scpi_choice_def_t* list, int position)
{
    for (int i = 0; list[i].name; ++i)
        if (i == position) {
            SCPI_ResultCharacters(c, list[i].name, strlen(list[i].name));
            return SCPI_RES_OK;
        }
    return SCPI_RES_ERR;
}

scpi_result_t scientific(scpi_t* c, double v)
{
    SCPI_ResultScientific(c, v);
    return SCPI_RES_OK;
}
} // namespace

scpi_result_t SCPI_CounterSw(scpi_t* c)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    return request(c, CH_SYS, PARAM_INDEX_COUNTERONOFF, on ? 1 : 0);
}

scpi_result_t SCPI_CounterSwQ(scpi_t* c)
{
    SCPI_ResultBool(c, scpi_instrument(c).counterOn());
    return SCPI_RES_OK;
}

// The latest reading of one counter quantity (0 without a signal).
static scpi_result_t latest(scpi_t* c, CSetParam::CounterQuantity q)
{
    return scientific(c, CSetParam::CounterResult(q, CSetParam::VALUE));
}

scpi_result_t SCPI_CounterFreqQ(scpi_t* c) { return latest(c, CSetParam::CNT_FRE); }
scpi_result_t SCPI_CounterPeriodQ(scpi_t* c) { return latest(c, CSetParam::CNT_PERIOD); }
scpi_result_t SCPI_CounterDutyQ(scpi_t* c) { return latest(c, CSetParam::CNT_DUTY); }
scpi_result_t SCPI_CounterPWidthQ(scpi_t* c) { return latest(c, CSetParam::CNT_PWIDTH); }
scpi_result_t SCPI_CounterNWidthQ(scpi_t* c) { return latest(c, CSetParam::CNT_NWIDTH); }

scpi_result_t SCPI_CounterCoupling(scpi_t* c)
{
    int32_t tag = 0;
    if (!SCPI_ParamChoice(c, kCoupling, &tag, true))
        return SCPI_RES_ERR;
    return request(c, CH_COUNTER, PARAM_INDEX_COUNTERCOUPLING, tag);
}

scpi_result_t SCPI_CounterCouplingQ(scpi_t* c) { return choiceName(c, kCoupling, rec(c).CounterCoupling ? 1 : 0); }

scpi_result_t SCPI_CounterHF(scpi_t* c)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    return request(c, CH_COUNTER, PARAM_INDEX_COUNTERLPF, on ? 1 : 0);
}

scpi_result_t SCPI_CounterHFQ(scpi_t* c)
{
    SCPI_ResultBool(c, rec(c).CounterLPF);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CounterLevel(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_VOLT, &v))
        return SCPI_RES_ERR;
    return request(c, CH_COUNTER, PARAM_INDEX_COUNTERTRIGVOLTAGE, v);
}

scpi_result_t SCPI_CounterLevelQ(scpi_t* c) { return scientific(c, double(rec(c).CounterTrigvoltage)); }

scpi_result_t SCPI_CounterSensitivity(scpi_t* c)
{
    double v = 0;
    if (!number(c, SCPI_UNIT_NONE, &v))
        return SCPI_RES_ERR;
    return request(c, CH_COUNTER, PARAM_INDEX_COUNTERTRIGSENSITI, v);
}

scpi_result_t SCPI_CounterSensitivityQ(scpi_t* c) { return scientific(c, double(rec(c).CounterTrigSensiti)); }
