// Channel output rows: output relay, inversion, sync output, amplitude
// limits and load.
#include <cstdio>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_ids.h"
#include "platform/logging.h"

static scpi_result_t outputSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true)) {
        qCCritical(lcScpi, "no param");
        return SCPI_RES_ERR;
    }
    scpi_row_instrument(c).setValue(ch, row.paramIndex, on ? 1 : 0);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t outputQuery(scpi_t* c, const scpi_row_t&, int ch)
{
    SCPI_ResultBool(c, scpi_row_instrument(c).outputOn(ch));
    return SCPI_RES_OK;
}

// CH3 and CH4 carry the sync of CH1 and CH2; they have no sync of their own.
static scpi_result_t syncSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    if (ch > 1) {
        SCPI_ErrorPush(c, SCPI_ERROR_MISSING_PARAMETER);
        return SCPI_RES_ERR;
    }
    double v = 0;
    if (!scpi_row_value(c, row, &v))
        return SCPI_RES_ERR;
    scpi_row_instrument(c).setValue(ch, row.paramIndex, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

const scpi_row_t scpi_rows_output[] = {
    {R_OUT_OUTPUT, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHSWITCH, 0, 0, nullptr, RF_BOOL, nullptr, RW_APPLIED, 150,
     outputSet, outputQuery, "output relay on/off", 0},
    {R_OUT_INVERSION, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHREVERSE, 0, 0, nullptr, RF_BOOL,
     SCPI_READ_CH(ChInversion), RW_APPLIED, 0, nullptr, nullptr, "output inversion", 0},
    {R_OUT_SYNC, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHSYNCOUT, 0, 0, nullptr, RF_BOOL, SCPI_READ_CH(SyncOut),
     RW_APPLIED, 0, syncSet, nullptr, "sync output of CH1/CH2 on CH3/CH4 (set on CH3/CH4: -109)", 0},
    {R_OUT_SYNC_INVERSION, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHSYNCREVERSE, 0, 0, nullptr, RF_BOOL,
     SCPI_READ_CH(SyncRevers), RW_APPLIED, 0, syncSet, nullptr,
     "inversion of the sync output of CH1/CH2 (set on CH3/CH4: -109)", 0},
    {R_OUT_LIMIT_ENABLE, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHAMPLIMIT, 0, 0, nullptr, RF_BOOL,
     SCPI_READ_CH(AmpLimit), RW_APPLIED, 0, nullptr, nullptr, "amplitude limits on/off", 0},
    {R_OUT_LIMIT_LOWER, RT_CHANNEL, RK_NUMBER, PARAM_INDEX_CHAMPLIMITL, SCPI_UNIT_VOLT, -224, nullptr,
     RF_SCIENTIFIC, SCPI_READ_CH(LimitL), RW_APPLIED, 0, nullptr, nullptr, "lower output limit", 0},
    {R_OUT_LIMIT_UPPER, RT_CHANNEL, RK_NUMBER, PARAM_INDEX_CHAMPLIMITH, SCPI_UNIT_VOLT, -224, nullptr,
     RF_SCIENTIFIC, SCPI_READ_CH(LimitH), RW_APPLIED, 0, nullptr, nullptr, "upper output limit", 0},
    {R_OUT_LOAD, RT_CHANNEL, RK_NUMBER, PARAM_INDEX_CHLOAD, SCPI_UNIT_NONE, -224, nullptr, RF_INT,
     SCPI_READ_CH(Load), RW_APPLIED, 0, nullptr, nullptr, "load in ohms; 1000000 is high impedance", 0},
    {0, RT_NONE, RK_NONE, -1, 0, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, nullptr, nullptr, nullptr, 0},
};
