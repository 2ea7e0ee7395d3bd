#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_fifo.h"
#include "communication/SCPI/scpi_ieee488.h"

const char* SCPI_ErrorTranslate(int16_t code)
{
    switch (code) {
#define SCPI_ERROR_TEXT(name, value, text)                                                                             \
    case name: return text;
        SCPI_ERROR_LIST(SCPI_ERROR_TEXT)
#undef SCPI_ERROR_TEXT
    default: return "Unknown error";
    }
}

// Event status bit of each error class (IEEE 488.2 and SCPI-99).
struct EsrRange {
    int16_t from;
    int16_t to;
    scpi_reg_val_t bit;
};
static const EsrRange kEsrRanges[] = {
    {-199, -100, ESR_CER}, // command error
    {-299, -200, ESR_EER}, // execution error
    {-399, -300, ESR_DER}, // device-dependent error
    {1, 32767, ESR_DER},   // device-specific positive codes
    {-499, -400, ESR_QER}, // query error
    {-599, -500, ESR_PON}, // power on
    {-699, -600, ESR_URQ}, // user request
    {-799, -700, ESR_REQ}, // request control
    {-899, -800, ESR_OPC}, // operation complete
};

void SCPI_ErrorInit(scpi_t* c)
{
    if (c && c->error_queue)
        fifo_init(c->error_queue);
}

void SCPI_ErrorPush(scpi_t* c, int16_t code)
{
    if (!c)
        return;
    if (c->error_queue)
        fifo_add(c->error_queue, code);
    for (const EsrRange& r : kEsrRanges)
        if (code >= r.from && code <= r.to)
            SCPI_RegSetBits(c, SCPI_REG_ESR, r.bit);
    SCPI_RegSetBits(c, SCPI_REG_STB, STB_QMA);
    if (c->interface && c->interface->error)
        c->interface->error(c, code);
    c->cmd_error = true;
}

int16_t SCPI_ErrorPop(scpi_t* c)
{
    int16_t code = 0;
    if (!c || !c->error_queue)
        return 0;
    if (!fifo_remove(c->error_queue, &code))
        code = 0;
    if (fifo_is_empty(c->error_queue))
        SCPI_RegClearBits(c, SCPI_REG_STB, STB_QMA);
    return code;
}

int32_t SCPI_ErrorCount(scpi_t* c)
{
    if (!c || !c->error_queue)
        return 0;
    return fifo_count(c->error_queue);
}

void SCPI_ErrorClear(scpi_t* c)
{
    if (!c || !c->error_queue)
        return;
    fifo_clear(c->error_queue);
    SCPI_RegClearBits(c, SCPI_REG_STB, STB_QMA);
}
