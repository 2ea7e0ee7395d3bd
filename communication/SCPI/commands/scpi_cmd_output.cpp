// Channel output rows: output relay, inversion, sync output, amplitude
// limits and load.
#include <cstdio>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
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

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_output[] = {
    row(R_OUT_OUTPUT).channel().param(PARAM_INDEX_CHSWITCH).boolean().reply(RF_BOOL).waits(RW_APPLIED)
        .formerPause(150).set(outputSet).query(outputQuery).effect("output relay on/off"),
    row(R_OUT_INVERSION).channel().param(PARAM_INDEX_CHREVERSE).boolean().reply(RF_BOOL, SCPI_READ_CH(ChInversion))
        .waits(RW_APPLIED).effect("output inversion"),
    row(R_OUT_SYNC).channel().param(PARAM_INDEX_CHSYNCOUT).boolean().reply(RF_BOOL, SCPI_READ_CH(SyncOut))
        .waits(RW_APPLIED).set(syncSet).effect("sync output of CH1/CH2 on CH3/CH4 (set on CH3/CH4: -109)"),
    row(R_OUT_SYNC_INVERSION).channel().param(PARAM_INDEX_CHSYNCREVERSE).boolean()
        .reply(RF_BOOL, SCPI_READ_CH(SyncRevers)).waits(RW_APPLIED).set(syncSet)
        .effect("inversion of the sync output of CH1/CH2 (set on CH3/CH4: -109)"),
    row(R_OUT_LIMIT_ENABLE).channel().param(PARAM_INDEX_CHAMPLIMIT).boolean().reply(RF_BOOL, SCPI_READ_CH(AmpLimit))
        .waits(RW_APPLIED).effect("amplitude limits on/off"),
    row(R_OUT_LIMIT_LOWER).channel().param(PARAM_INDEX_CHAMPLIMITL).number(SCPI_UNIT_VOLT)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(LimitL)).waits(RW_APPLIED).effect("lower output limit"),
    row(R_OUT_LIMIT_UPPER).channel().param(PARAM_INDEX_CHAMPLIMITH).number(SCPI_UNIT_VOLT)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(LimitH)).waits(RW_APPLIED).effect("upper output limit"),
    row(R_OUT_LOAD).channel().param(PARAM_INDEX_CHLOAD).number(SCPI_UNIT_NONE).reply(RF_INT, SCPI_READ_CH(Load))
        .waits(RW_APPLIED).effect("load in ohms; 1000000 is high impedance"),
    kRowsEnd,
};
// clang-format on
