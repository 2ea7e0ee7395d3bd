#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_identify.h"
#include "communication/SCPI/commands/scpi_counter.h"
#include "communication/SCPI/commands/scpi_digital.h"
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
    // Frequency counter and digital protocol output.
    {"SYSTem:CYMometer", SCPI_CounterSw, 0},
    {"SYSTem:CYMometer?", SCPI_CounterSwQ, 0},
    {"SYSTem:CYMometer:FREQuency?", SCPI_CounterFreqQ, 0},
    {"SYSTem:CYMometer:PERiod?", SCPI_CounterPeriodQ, 0},
    {"SYSTem:CYMometer:DUTY?", SCPI_CounterDutyQ, 0},
    {"SYSTem:CYMometer:PWIDTh?", SCPI_CounterPWidthQ, 0},
    {"SYSTem:CYMometer:NWIDTh?", SCPI_CounterNWidthQ, 0},
    {"SYSTem:CYMometer:TRIGger:COUPling", SCPI_CounterCoupling, 0},
    {"SYSTem:CYMometer:TRIGger:COUPling?", SCPI_CounterCouplingQ, 0},
    {"SYSTem:CYMometer:TRIGger:HF", SCPI_CounterHF, 0},
    {"SYSTem:CYMometer:TRIGger:HF?", SCPI_CounterHFQ, 0},
    {"SYSTem:CYMometer:TRIGger:LEVel", SCPI_CounterLevel, 0},
    {"SYSTem:CYMometer:TRIGger:LEVel?", SCPI_CounterLevelQ, 0},
    {"SYSTem:CYMometer:TRIGger:SENSitivity", SCPI_CounterSensitivity, 0},
    {"SYSTem:CYMometer:TRIGger:SENSitivity?", SCPI_CounterSensitivityQ, 0},
    {"DIGital", SCPI_DigitalSw, 0},
    {"DIGital?", SCPI_DigitalSwQ, 0},
    {"DIGital:TYPe", SCPI_DigitalType, 0},
    {"DIGital:TYPe?", SCPI_DigitalTypeQ, 0},
    {"DIGital:AMPLitude", SCPI_DigitalAmplitude, 0},
    {"DIGital:AMPLitude?", SCPI_DigitalAmplitudeQ, 0},
    {"DIGital:FORMat", SCPI_DigitalFormat, 0},
    {"DIGital:FORMat?", SCPI_DigitalFormatQ, 0},
    {"DIGital:DATa", SCPI_DigitalData, 0},
    {"DIGital:DATa?", SCPI_DigitalDataQ, 0},
    {"DIGital:TRIGger", SCPI_DigitalTrigger, 0},
    {"DIGital:AS", SCPI_DigitalAutoSend, 0},
    {"DIGital:AS?", SCPI_DigitalAutoSendQ, 0},
    {"DIGital:AS:INTerval", SCPI_DigitalInterval, 0},
    {"DIGital:AS:INTerval?", SCPI_DigitalIntervalQ, 0},
    {"DIGital:SPI:CLOCk", SCPI_DigitalSpiClock, 0},
    {"DIGital:SPI:CLOCk?", SCPI_DigitalSpiClockQ, 0},
    {"DIGital:IIC:CLOCk", SCPI_DigitalI2cClock, 0},
    {"DIGital:IIC:CLOCk?", SCPI_DigitalI2cClockQ, 0},
    {"DIGital:IIC:ADDRess", SCPI_DigitalI2cAddr, 0},
    {"DIGital:IIC:ADDRess?", SCPI_DigitalI2cAddrQ, 0},
    {"DIGital:UART:BAUDrate", SCPI_DigitalBaud, 0},
    {"DIGital:UART:BAUDrate?", SCPI_DigitalBaudQ, 0},
    {"DIGital:UART:DATa", SCPI_DigitalUartBits, 0},
    {"DIGital:UART:DATa?", SCPI_DigitalUartBitsQ, 0},
    {"DIGital:UART:STOP", SCPI_DigitalUartStop, 0},
    {"DIGital:UART:STOP?", SCPI_DigitalUartStopQ, 0},
    {"DIGital:UART:PARity", SCPI_DigitalUartParity, 0},
    {"DIGital:UART:PARity?", SCPI_DigitalUartParityQ, 0},
    {nullptr, nullptr, 0},
};

void scpi_commands_install_receivers()
{
    scpi_msg_set_data_receiver(WF_Cal, SCPI_ServiceReceiveCalibration);
    scpi_msg_set_data_receiver(WF_DIGITALDATA, SCPI_DigitalDataReceiver);
}
