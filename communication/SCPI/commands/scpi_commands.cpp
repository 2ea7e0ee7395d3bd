#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_identify.h"
#include "communication/SCPI/commands/scpi_keys.h"
#include "communication/SCPI/scpi_wfile.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/SCPI/commands/scpi_common.h"

const scpi_command_t scpi_commands[] = {
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
    // IEEE 488.2 common commands: status reporting, synchronisation, self-test.
    {"*CLS", SCPI_CoreCls, 0},
    {"*ESE", SCPI_CoreEse, 0},
    {"*ESE?", SCPI_CoreEseQ, 0},
    {"*ESR?", SCPI_CoreEsrQ, 0},
    {"*OPC", SCPI_CoreOpc, 0},
    {"*OPC?", SCPI_CoreOpcQ, 0},
    {"*SRE", SCPI_CoreSre, 0},
    {"*SRE?", SCPI_CoreSreQ, 0},
    {"*STB?", SCPI_CoreStbQ, 0},
    {"*TST?", SCPI_CoreTstQ, 0},
    {"*WAI", SCPI_CoreWai, 0},
    // Factory and service access: calibration steps and data, direct output-path writes.
    {"SYNC#:CMD#", SCPI_ServiceSync, 0},
    {"WFILE", SCPI_ServiceWFile, 0},
    {"WP#:ADDR#", SCPI_ServiceWrite, 0},
    {"RP#:ADDR#?", SCPI_ServiceReadQ, 0},
    // Front panel: keys, key locks and LEDs, remote lock, touch, current channel.
    SCPI_KEY_COMMANDS
    {"SYSTem:LOCK?", SCPI_SystemLockQ, 0},
    {"SYSTem:LOCK", SCPI_SystemLock, 0},
    {"MOUSE", SCPI_Mouse, 0},
    {"CHANnel#:SELect?", SCPI_ChannelSelectQ, 0},
    {"CHANnel#:SELect", SCPI_ChannelSelect, 0},
    {"CHSEL?", SCPI_CurrentChannelQ, 0},
    {nullptr, nullptr, 0},
};

void scpi_commands_install_receivers()
{
    scpi_msg_set_data_receiver(WF_Cal, SCPI_ServiceReceiveCalibration);
}
