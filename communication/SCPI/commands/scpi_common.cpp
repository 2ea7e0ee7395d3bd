#include "communication/SCPI/commands/scpi_common.h"
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/sys_error.h"
#include "communication/SCPI/commands/scpi_sync.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/scpi_match.h"
#include "param/systype.h"
#include <atomic>

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
    SCPI_StatusTake(c);
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
    SCPI_StatusTake(c);
    SCPI_ResultInt(c, SCPI_StatusByte(c, false));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreTstQ(scpi_t* c)
{
    // The self-test is the FPGA register device answering at bring-up.
    SCPI_ResultInt(c, CSetParam::DeviceOpen() ? 0 : 1);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreWai(scpi_t* c) { return waitApplied(c) ? SCPI_RES_OK : SCPI_RES_ERR; }

// ---- triggers, presets, options ---------------------------------------------

scpi_result_t SCPI_CoreTrg(scpi_t* c)
{
    // One manual trigger of every channel in sweep or burst that waits for a
    // manual trigger; none waits: the trigger is ignored.
    ScpiInstrument& inst = scpi_instrument(c);
    const HardWareInfo& rec = inst.record();
    bool any = false;
    for (int ch = 0; ch < 4; ++ch) {
        const uint32_t mode = workModeOf(rec.PDT[ch].WorkMode);
        if ((mode == workModeOf(WORK_SCAN) || mode == workModeOf(WORK_BURST)) && rec.PDT[ch].TrigerSource == 3) {
            inst.manualTrigger(ch);
            any = true;
        }
    }
    if (!any) {
        SCPI_ErrorPush(c, SCPI_ERROR_TRIGGER_IGNORED);
        return SCPI_RES_ERR;
    }
    return SCPI_RES_OK;
}

// A preset number 1..5.
static bool presetNumber(scpi_t* c, int32_t* n)
{
    if (!SCPI_ParamInt(c, n, true))
        return false;
    if (*n < 1 || *n > 5) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_OUT_OF_RANGE);
        return false;
    }
    return true;
}

scpi_result_t SCPI_CoreSav(scpi_t* c)
{
    int32_t n = 0;
    if (!presetNumber(c, &n) || !waitApplied(c))
        return SCPI_RES_ERR;
    if (!scpi_instrument(c).savePreset(n)) {
        SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR);
        return SCPI_RES_ERR;
    }
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CoreRcl(scpi_t* c)
{
    int32_t n = 0;
    if (!presetNumber(c, &n))
        return SCPI_RES_ERR;
    if (!scpi_instrument(c).recallPreset(n)) {
        SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR); // nothing stored there
        return SCPI_RES_ERR;
    }
    return waitApplied(c) ? SCPI_RES_OK : SCPI_RES_ERR;
}

scpi_result_t SCPI_CoreOptQ(scpi_t* c)
{
    // No installable options: IEEE 488.2 10.20 answers "0".
    SCPI_ResultInt(c, 0);
    return SCPI_RES_OK;
}

// Power-on status clear: whether the enable registers are cleared at power
// on. The registers are not kept across a power cycle, so they start cleared
// either way; the flag is kept for the query.
static std::atomic<bool> g_psc {true};

scpi_result_t SCPI_CorePsc(scpi_t* c)
{
    int32_t v = 0;
    if (!SCPI_ParamInt(c, &v, true))
        return SCPI_RES_ERR;
    g_psc = v != 0;
    return SCPI_RES_OK;
}

scpi_result_t SCPI_CorePscQ(scpi_t* c)
{
    SCPI_ResultInt(c, g_psc ? 1 : 0);
    return SCPI_RES_OK;
}

// ---- SCPI-99 system and status subsystems -----------------------------------

scpi_result_t SCPI_SystemVersionQ(scpi_t* c)
{
    SCPI_ResultCharacters(c, "1999.0", 6);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_SystemErrorCountQ(scpi_t* c)
{
    SCPI_ResultInt(c, Sys_ErrorCount());
    return SCPI_RES_OK;
}

// The STATus handlers are registered with the event register they address
// as the command's tag (SCPI_REG_OPER or SCPI_REG_QUES).
static scpi_reg_name_t eventOf(scpi_t* c) { return SCPI_CmdTag(c) == SCPI_REG_QUES ? SCPI_REG_QUES : SCPI_REG_OPER; }

scpi_result_t SCPI_StatusEventQ(scpi_t* c)
{
    // Reading an event register clears it.
    SCPI_StatusTake(c);
    const scpi_reg_name_t event = eventOf(c);
    SCPI_ResultInt(c, int32_t(SCPI_RegGet(c, event) & 0x7FFF));
    SCPI_RegSet(c, event, 0);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_StatusConditionQ(scpi_t* c)
{
    SCPI_ResultInt(c, int32_t(SCPI_StatusConditionGet(eventOf(c)) & 0x7FFF));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_StatusEnable(scpi_t* c)
{
    int32_t v = 0;
    if (!SCPI_ParamInt(c, &v, true))
        return SCPI_RES_ERR;
    if (v < 0 || v > 65535) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    SCPI_StatusTake(c);
    SCPI_RegSet(c, scpi_reg_name_t(eventOf(c) + 1), scpi_reg_val_t(v & 0x7FFF));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_StatusEnableQ(scpi_t* c)
{
    SCPI_ResultInt(c, int32_t(SCPI_RegGet(c, scpi_reg_name_t(eventOf(c) + 1))));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_StatusPreset(scpi_t* c)
{
    // SCPI-99: the operation and questionable enable registers to 0; the
    // event registers and the IEEE 488.2 registers stay.
    SCPI_StatusTake(c);
    SCPI_RegSet(c, SCPI_REG_OPERE, 0);
    SCPI_RegSet(c, SCPI_REG_QUESE, 0);
    return SCPI_RES_OK;
}
