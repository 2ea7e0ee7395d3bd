#include "communication/SCPI/commands/scpi_common.h"
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/sys_error.h"
#include "communication/SCPI/commands/scpi_sync.h"

// Longest a synchronising command waits for the controller to apply the
// settings sent before it.
static const int kApplyTimeoutMs = 30000;

// An enable-register value: 0 to 255.
static bool paramMask(scpi_t* c, int32_t* value)
{
    if (!SCPI_ParamInt(c, value, true))
        return false;
    if (*value < 0 || *value > 255) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    return true;
}

// Waits until the controller has applied every request queued before.
static bool waitApplied(scpi_t* c)
{
    if (SCPI_WaitApplied(c->parent, kApplyTimeoutMs))
        return true;
    SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR);
    return false;
}

scpi_result_t SCPI_CoreCls(scpi_t* c)
{
    // Event registers, the error queue and the instrument's error list; the
    // enable registers stay.
    SCPI_RegSet(c, SCPI_REG_ESR, 0);
    SCPI_RegSet(c, SCPI_REG_OPER, 0);
    SCPI_RegSet(c, SCPI_REG_QUES, 0);
    SCPI_ErrorClear(c);
    Sys_ErrorClear();
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreEse(scpi_t* c)
{
    int32_t v = 0;
    if (!paramMask(c, &v))
        return SCPI_RES_ERR;
    SCPI_RegSet(c, SCPI_REG_ESE, scpi_reg_val_t(v));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreEseQ(scpi_t* c)
{
    SCPI_ResultInt(c, int32_t(SCPI_RegGet(c, SCPI_REG_ESE)));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreEsrQ(scpi_t* c)
{
    // Reading the event status register clears it.
    SCPI_ResultInt(c, int32_t(SCPI_RegGet(c, SCPI_REG_ESR) & 0xFF));
    SCPI_RegSet(c, SCPI_REG_ESR, 0);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreOpc(scpi_t* c)
{
    if (!waitApplied(c))
        return SCPI_RES_ERR;
    SCPI_RegSetBits(c, SCPI_REG_ESR, ESR_OPC);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreOpcQ(scpi_t* c)
{
    if (!waitApplied(c))
        return SCPI_RES_ERR;
    SCPI_ResultInt(c, 1);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreSre(scpi_t* c)
{
    int32_t v = 0;
    if (!paramMask(c, &v))
        return SCPI_RES_ERR;
    // Bit 6 of the enable register is not used (IEEE 488.2 11.3.2).
    SCPI_RegSet(c, SCPI_REG_SRE, scpi_reg_val_t(v & ~STB_SRQ));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreSreQ(scpi_t* c)
{
    SCPI_ResultInt(c, int32_t(SCPI_RegGet(c, SCPI_REG_SRE) & 0xFF));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreStbQ(scpi_t* c)
{
    // The reply of this query is not yet a message available.
    SCPI_ResultInt(c, SCPI_StatusByte(c, false));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreTstQ(scpi_t* c)
{
    // The self-test is the FPGA register device answering at bring-up.
    SCPI_ResultInt(c, CSetParam::DeviceOpen() ? 0 : 1);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreWai(scpi_t* c)
{
    return waitApplied(c) ? SCPI_RES_OK : SCPI_RES_ERR;
}
