#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_identify.h"
#include "communication/SCPI/commands/scpi_row_ids.h"
#include "communication/SCPI/scpi_wfile.h"
// Rows whose handlers drive the hardware or the controller directly; a
// stand-alone build of the table (the fuzz target) leaves them out.
#ifndef SCPI_TABLE_STANDALONE
#include "communication/scpi_msg_adpt.h"
#include "communication/SCPI/commands/scpi_counter.h"
#include "communication/SCPI/commands/scpi_digital.h"
#include "communication/SCPI/commands/scpi_keys.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/SCPI/commands/scpi_common.h"
#include "communication/SCPI/commands/scpi_display.h"
#endif

const scpi_command_t scpi_commands[] = {
    // ---- identification and error list ----
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
#ifndef SCPI_TABLE_STANDALONE
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
    {"*TRG", SCPI_CoreTrg, 0},
    {"*SAV", SCPI_CoreSav, 0},
    {"*RCL", SCPI_CoreRcl, 0},
    {"*OPT?", SCPI_CoreOptQ, 0},
    {"*PSC", SCPI_CorePsc, 0},
    {"*PSC?", SCPI_CorePscQ, 0},
    // SCPI-99 required commands: version, error queue, status subsystem.
    {"SYSTem:VERSion?", SCPI_SystemVersionQ, 0},
    {"SYSTem:ERRor:NEXT?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor:COUNt?", SCPI_SystemErrorCountQ, 0},
    {"STATus:OPERation?", SCPI_StatusEventQ, SCPI_REG_OPER},
    {"STATus:OPERation:EVENt?", SCPI_StatusEventQ, SCPI_REG_OPER},
    {"STATus:OPERation:CONDition?", SCPI_StatusConditionQ, SCPI_REG_OPER},
    {"STATus:OPERation:ENABle", SCPI_StatusEnable, SCPI_REG_OPER},
    {"STATus:OPERation:ENABle?", SCPI_StatusEnableQ, SCPI_REG_OPER},
    {"STATus:QUEStionable?", SCPI_StatusEventQ, SCPI_REG_QUES},
    {"STATus:QUEStionable:EVENt?", SCPI_StatusEventQ, SCPI_REG_QUES},
    {"STATus:QUEStionable:CONDition?", SCPI_StatusConditionQ, SCPI_REG_QUES},
    {"STATus:QUEStionable:ENABle", SCPI_StatusEnable, SCPI_REG_QUES},
    {"STATus:QUEStionable:ENABle?", SCPI_StatusEnableQ, SCPI_REG_QUES},
    {"STATus:PRESet", SCPI_StatusPreset, 0},
    // Factory and service access: calibration steps and data, direct output-path writes.
    {"SYNC#:CMD#", SCPI_ServiceSync, 0},
    {"WFILE", SCPI_ServiceWFile, 0},
    {"WP#:ADDR#", SCPI_ServiceWrite, 0},
    {"RP#:ADDR#?", SCPI_ServiceReadQ, 0},
    // Front panel: keys, key locks and LEDs, remote lock, touch, current channel.
    SCPI_KEY_COMMANDS {"SYSTem:LOCK?", SCPI_SystemLockQ, 0},
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
#endif

    // ---- system, factory (scpi_cmd_system.cpp) ----
    SCPI_ROW_S("*RST", R_SYS_RST),
    SCPI_ROW_QS("SYSTem:CONFigure", R_SYS_CONFIGURE),
    SCPI_ROW_QS("SYSTem:PHASe:MODe", R_SYS_PHASE_MODE),
    SCPI_ROW_QS("SYSTem:LANGuage", R_SYS_LANGUAGE),
    SCPI_ROW_QS("SYSTem:NUMBer:FORMat", R_SYS_NUMBER_FORMAT),
    SCPI_ROW_QS("SYSTem:PICTure:FORMat", R_SYS_PICTURE_FORMAT),
    SCPI_ROW_QS("SYSTem:BEEP", R_SYS_BEEP),
    SCPI_ROW_QS("SYSTem:BRIGhtness", R_SYS_BRIGHTNESS),
    SCPI_ROW_QS("SYSTem:SLEEP:TIMe", R_SYS_SLEEP_TIME),
    SCPI_ROW_QS("FACTORY:MIS:SN", R_SYS_FACTORY_SN),

    // ---- channel output and limits (scpi_cmd_output.cpp) ----
    SCPI_ROW_QS("CHANnel#:OUTPut", R_OUT_OUTPUT),
    SCPI_ROW_QS("CHANnel#:INVersion", R_OUT_INVERSION),
    SCPI_ROW_QS("CHANnel#:OUTPut:SYNC", R_OUT_SYNC),
    SCPI_ROW_QS("CHANnel#:OUTPut:SYNC:INVersion", R_OUT_SYNC_INVERSION),
    SCPI_ROW_QS("CHANnel#:LIMit:ENABle", R_OUT_LIMIT_ENABLE),
    SCPI_ROW_QS("CHANnel#:LIMit:LOWer", R_OUT_LIMIT_LOWER),
    SCPI_ROW_QS("CHANnel#:LIMit:UPPer", R_OUT_LIMIT_UPPER),
    SCPI_ROW_QS("CHANnel#:LOAD", R_OUT_LOAD),

    // ---- merge and coupling (scpi_cmd_couple.cpp) ----
    SCPI_ROW_QS("CHANnel#:MERGe", R_CPL_MERGE),
    SCPI_ROW_QS("CHANnel:COUPle#:FREQuency", R_CPL_FREQ),
    SCPI_ROW_QS("CHANnel:COUPle#:FREQuency:SCALe", R_CPL_FREQ_SCALE),
    SCPI_ROW_QS("CHANnel:COUPle#:FREQuency:DEV", R_CPL_FREQ_DEV),
    SCPI_ROW_QS("CHANnel:COUPle#:AMPLitude", R_CPL_AMPL),
    SCPI_ROW_QS("CHANnel:COUPle#:AMPLitude:SCALe", R_CPL_AMPL_SCALE),
    SCPI_ROW_QS("CHANnel:COUPle#:AMPLitude:DEV", R_CPL_AMPL_DEV),
    SCPI_ROW_QS("CHANnel:COUPle#:PHASe", R_CPL_PHASE),
    SCPI_ROW_QS("CHANnel:COUPle#:PHASe:SCALe", R_CPL_PHASE_SCALE),
    SCPI_ROW_QS("CHANnel:COUPle#:PHASe:DEV", R_CPL_PHASE_DEV),

    // ---- base wave (scpi_cmd_basewave.cpp) ----
    SCPI_ROW_QS("CHANnel#:BASe:WAVe", R_BASE_WAVE),
    SCPI_ROW_QS("CHANnel#:BASe:FREQuency", R_BASE_FREQ),
    SCPI_ROW_QS("CHANnel#:NOISe:BANDwith", R_BASE_FREQ),
    SCPI_ROW_QS("CHANnel#:PRBS:BITRatio", R_BASE_FREQ),
    SCPI_ROW_QS("CHANnel#:BASe:PERiod", R_BASE_PERIOD),
    SCPI_ROW_QS("CHANnel#:BASe:PHASe", R_BASE_PHASE),
    SCPI_ROW_QS("CHANnel#:BASe:AMPLitude", R_BASE_AMPL),
    SCPI_ROW_QS("CHANnel#:AMPLitude:UNIT", R_BASE_AMPL_UNIT),
    SCPI_ROW_QS("CHANnel#:BASe:OFFSet", R_BASE_OFFSET),
    SCPI_ROW_QS("CHANnel#:BASe:HIGH", R_BASE_HIGH),
    SCPI_ROW_QS("CHANnel#:BASe:LOW", R_BASE_LOW),
    SCPI_ROW_QS("CHANnel#:BASe:DUTY", R_BASE_DUTY),
    SCPI_ROW_QS("CHANnel#:BASe:PWIDth", R_BASE_PWIDTH),
    SCPI_ROW_QS("CHANnel#:RAMP:SYMMetry", R_RAMP_SYMMETRY),
    SCPI_ROW_QS("CHANnel#:PULSe:RISe", R_PULSE_RISE),
    SCPI_ROW_QS("CHANnel#:PULSe:FALL", R_PULSE_FALL),
    SCPI_ROW_QS("CHANnel#:HARMonic:TOTal:ORDer", R_HARM_ORDER),
    SCPI_ROW_QS("CHANnel#:HARMonic:TYPe", R_HARM_TYPE),
    SCPI_ROW_QS("CHANnel#:HARMonic:USEr:TYPe", R_HARM_USER_TYPE),
    SCPI_ROW_QS("CHANnel#:HARMonic:ORDer#:AMPLitude", R_HARM_SN_AMPL),
    SCPI_ROW_QS("CHANnel#:HARMonic:ORDer#:PHASe", R_HARM_SN_PHASE),
    SCPI_ROW_QS("CHANnel#:BASe:ARB", R_BASE_ARB),
    SCPI_ROW_QS("CHANnel#:MODulate:ARB", R_MOD_ARB),
    SCPI_ROW_QS("CHANnel#:ARB:MODe", R_ARB_MODE),
    SCPI_ROW_QS("CHANnel#:ARB:FILTer", R_ARB_FILTER),
    SCPI_ROW_QS("CHANnel#:NS", R_NS),
    SCPI_ROW_QS("CHANnel#:NS:SNR:UNIT", R_NS_UNIT),
    SCPI_ROW_QS("CHANnel#:NS:SNR", R_NS_SNR),

    // ---- work mode, modulation, sweep, burst (scpi_cmd_modes.cpp) ----
    SCPI_ROW_QS("CHANnel#:MODE", R_MODE),
    SCPI_ROW_QS("CHANnel#:TRIGger:SOURce", R_TRIG_SOURCE),
    SCPI_ROW_QS("CHANnel#:OSK:TRIGger:SOURce", R_OSK_TRIG_SOURCE),
    SCPI_ROW_QS("CHANnel#:TRIGger:OUTPut", R_TRIG_OUTPUT),
    SCPI_ROW_S("CHANnel#:SWEep:TRIGger", R_SWEEP_TRIGGER),
    SCPI_ROW_S("CHANnel#:BURSt:TRIGger", R_BURST_TRIGGER),
    SCPI_ROW_QS("CHANnel#:MODulate:TYPe", R_MOD_TYPE),
    SCPI_ROW_QS("CHANnel#:MODulate:IQMap", R_MOD_IQMAP),
    SCPI_ROW_QS("CHANnel#:PNCode", R_PNCODE),
    SCPI_ROW_QS("CHANnel#:MODulate:WAVe", R_MOD_WAVE),
    SCPI_ROW_QS("CHANnel#:MODulate:SOURce", R_MOD_SOURCE),
    SCPI_ROW_QS("CHANnel#:MODulate:FREQuency", R_MOD_FREQ),
    SCPI_ROW_QS("CHANnel#:MODulate:RATio", R_MOD_RATIO),
    SCPI_ROW_QS("CHANnel#:MODulate:BITRatio", R_MOD_BITRATE),
    SCPI_ROW_QS("CHANnel#:MODulate:DEPTh", R_MOD_DEPTH),
    SCPI_ROW_QS("CHANnel#:FM:FREQuency:DEV", R_FM_DEV),
    SCPI_ROW_QS("CHANnel#:PM:PHASe:DEV", R_PM_DEV),
    SCPI_ROW_QS("CHANnel#:PSK:PHASe#", R_PSK_PHASE),
    SCPI_ROW_QS("CHANnel#:FSK:FREQuency#", R_FSK_FREQ),
    SCPI_ROW_QS("CHANnel#:OSK:TIMe", R_OSK_TIME),
    SCPI_ROW_QS("CHANnel#:PWM:DUTY:DEV", R_PWM_DEV),
    SCPI_ROW_QS("CHANnel#:SWEep:TYPe", R_SWEEP_TYPE),
    SCPI_ROW_QS("CHANnel#:SWEep:FREQuency:STARt", R_SWEEP_START),
    SCPI_ROW_QS("CHANnel#:SWEep:FREQuency:STOP", R_SWEEP_STOP),
    SCPI_ROW_QS("CHANnel#:SWEep:TIMe", R_SWEEP_TIME),
    SCPI_ROW_QS("CHANnel#:SWEep:HOLD", R_SWEEP_TIME),
    SCPI_ROW_QS("CHANnel#:SWEep:STEPs", R_SWEEP_STEPS),
    SCPI_ROW_QS("CHANnel#:BURSt:TYPe", R_BURST_TYPE),
    SCPI_ROW_QS("CHANnel#:BURSt:PERiod", R_BURST_PERIOD),
    SCPI_ROW_QS("CHANnel#:BURSt:CYCLes", R_BURST_CYCLES),
    SCPI_ROW_QS("CHANnel#:BURSt:PHASe", R_BURST_PHASE),
    SCPI_ROW_QS("CHANnel#:BURSt:GATe:POLarity", R_BURST_GATE_POLARITY),

    // ---- data-transfer arming (scpi_cmd_files.cpp) ----
    SCPI_ROW_S("WARB#:MODulate", R_WARB_MOD),
    SCPI_ROW_S("WARB#:CARRier", R_WARB_CARRIER),
    SCPI_ROW_S("WFREQLIST#", R_WFREQLIST),

#ifndef SCPI_TABLE_STANDALONE
    // Screen capture: the screen as a picture and as the compressed raw capture.
    {"DISPlay:DATA?", SCPI_DisplayDataQ, 0},
    {"DISPlay:ZBMP?", SCPI_DisplayZbmpQ, 0},
#endif
    {nullptr, nullptr, 0},
};

void scpi_commands_install_receivers()
{
#ifndef SCPI_TABLE_STANDALONE
    scpi_msg_set_data_receiver(WF_Cal, SCPI_ServiceReceiveCalibration);
    scpi_msg_set_data_receiver(WF_DIGITALDATA, SCPI_DigitalDataReceiver);
#endif
}
