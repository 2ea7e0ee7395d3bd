#include "communication/SCPI/commands/scpi_identify.h"
#include <cstdio>
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/sys_error.h"

static scpi_result_t replyText(scpi_t* context, const char* text, int n)
{
    if (n < 0)
        return SCPI_RES_ERR;
    SCPI_ResultCharacters(context, text, size_t(n));
    return SCPI_RES_OK;
}

scpi_result_t SCPI_IdnQ(scpi_t* context)
{
    char buf[256];
    ScpiInstrument& inst = scpi_instrument(context);
    const int n = snprintf(buf, sizeof buf, "%s,%s,%s,%s", SCPI_MANUFACTURER, inst.displayName().c_str(),
                           inst.serial().c_str(), SCPI_FIRMWARE_VERSION);
    return replyText(context, buf, n < int(sizeof buf) ? n : int(sizeof buf) - 1);
}

scpi_result_t SCPI_ModelIdnQ(scpi_t* context)
{
    char buf[128];
    const int n = snprintf(buf, sizeof buf, "%s%%EN#SN%s", SCPI_MODEL, scpi_instrument(context).serial().c_str());
    return replyText(context, buf, n < int(sizeof buf) ? n : int(sizeof buf) - 1);
}

scpi_result_t SCPI_SystemInfoQ(scpi_t* context)
{
    char buf[384];
    ScpiInstrument& inst = scpi_instrument(context);
    const int mhz = int(inst.sineBandwidth(0) / 1e6);
    const int n =
        snprintf(buf, sizeof buf, "20220225,%s,%s,AWG,ORNAV72,%dMHz,%1.1fGSa/s,4CH,%s,**,%s,*,*", SCPI_FIRMWARE_VERSION,
                 inst.hardwareVersion().c_str(), mhz, 2.5, inst.displayName().c_str(), inst.serial().c_str());
    return replyText(context, buf, n < int(sizeof buf) ? n : int(sizeof buf) - 1);
}

scpi_result_t SCPI_SystemErrorQ(scpi_t* context)
{
    const int16_t code = Sys_ErrorPop();
    char buf[160];
    const int n = snprintf(buf, sizeof buf, "%d,\"%s\"", int(code), SCPI_ErrorTranslate(code));
    return replyText(context, buf, n < int(sizeof buf) ? n : int(sizeof buf) - 1);
}

scpi_result_t SCPI_SystemError(scpi_t*)
{
    Sys_ErrorClear();
    return SCPI_RES_OK;
}
