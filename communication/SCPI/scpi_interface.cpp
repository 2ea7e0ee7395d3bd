#include "communication/SCPI/scpi_interface.h"
#include <atomic>
#include <cstdio>
#include <cstring>
#include "param/global.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_units.h"
#include "communication/SCPI/sys_error.h"

// The interpreter's state belongs to the SCPI worker thread (the only one
// that parses and executes); the hooks are installed before it starts.
static scpi_response_sink_t g_responseSink = nullptr;
static scpi_tip_hook_t g_tipHook = nullptr;
// Set once at start-up, read by the interpreter's thread.
static std::atomic<scpi_srq_hook_t> g_srqHook {nullptr};

static char g_inputBuffer[SCPI_INPUT_BUFFER_LENGTH];
static scpi_fifo_t g_errorQueue;
static scpi_reg_val_t g_registers[SCPI_REG_COUNT];
static char g_serial[64] = "noserial";

scpi_interface_t scpi_interface = {
    SCPI_Error, SCPI_Write, SCPI_Control, SCPI_Flush, SCPI_Reset,
};

scpi_t scpi_context = {
    /* cmdlist */ nullptr,
    /* buffer */ {SCPI_INPUT_BUFFER_LENGTH, 0, g_inputBuffer},
    /* param_list */ {nullptr, {nullptr, nullptr, 0}, {0, 0, nullptr}},
    /* interface */ &scpi_interface,
    /* output_count */ 0,
    /* input_count */ 0,
    /* cmd_error */ false,
    /* error_queue */ &g_errorQueue,
    /* registers */ g_registers,
    /* units */ scpi_units_def,
    /* user_context */ nullptr,
    /* instrument */ nullptr,
    /* parser_state */ {},
    /* idn */ {"VELTRIX Technologies", "ORNAV96T", g_serial, "1.09.0018"},
    /* parent */ nullptr,
    {},
    {},
    0,
};

void SCPI_SetResponseSink(scpi_response_sink_t sink) { g_responseSink = sink; }

void SCPI_SetSrqHook(scpi_srq_hook_t hook) { g_srqHook = hook; }

void SCPI_SetTipHook(scpi_tip_hook_t hook) { g_tipHook = hook; }

int SCPI_FormatErrorTip(char* buf, int len, int code)
{
    if (!buf || len <= 0)
        return 0;
    const int n = snprintf(buf, size_t(len), "[ERROR]:%d,\"%s\"", code, SCPI_ErrorTranslate(int16_t(code)));
    return n < 0 ? 0 : (n < len ? n : len - 1);
}

int SCPI_Error(scpi_t* context, int_fast16_t err)
{
    const int16_t code = int16_t(err);
    Sys_Error(code);
    char tip[96];
    SCPI_FormatErrorTip(tip, sizeof tip, code);
    if (g_tipHook)
        g_tipHook(context, MESSAGE_TYPE_ERROR, tip);
    return 0;
}

size_t SCPI_Write(scpi_t*, const char* data, size_t len)
{
    if (!g_responseSink || !data || len == 0)
        return 0;
    const int n = g_responseSink(data, len > 0x7fffffff ? 0x7fffffff : int(len));
    return n > 0 ? size_t(n) : 0;
}

scpi_result_t SCPI_Control(scpi_t*, scpi_ctrl_name_t ctrl, scpi_reg_val_t val)
{
    if (ctrl == SCPI_CTRL_SRQ) {
        fprintf(stderr, "**SRQ: 0x%X (%d)\r\n", unsigned(val), int(val));
        if (const scpi_srq_hook_t hook = g_srqHook.load())
            hook(val);
    } else
        fprintf(stderr, "**CTRL %02x: 0x%X (%d)\r\n", unsigned(ctrl), unsigned(val), int(val));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_Flush(scpi_t*) { return SCPI_RES_OK; }

scpi_result_t SCPI_Reset(scpi_t*)
{
    fprintf(stderr, "**Reset\r\n");
    return SCPI_RES_OK;
}

void SCPI_SetIdnSerial(scpi_t* context, const char* serial)
{
    if (!context)
        return;
    snprintf(g_serial, sizeof g_serial, "%s", serial ? serial : "");
    context->idn[2] = g_serial;
}
