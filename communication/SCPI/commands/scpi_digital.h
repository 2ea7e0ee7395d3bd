#pragma once
// Digital protocol output commands ("DIGital...").
#include "communication/SCPI/scpi_types.h"

// Highest I2C address the output can send (10-bit addressing); larger ones
// are refused with -224.
const int32_t SCPI_DIGITAL_I2C_ADDR_MAX = 1023;

scpi_result_t SCPI_DigitalSw(scpi_t* context); // "DIGital"
scpi_result_t SCPI_DigitalSwQ(scpi_t* context);
scpi_result_t SCPI_DigitalType(scpi_t* context); // "DIGital:TYPe"
scpi_result_t SCPI_DigitalTypeQ(scpi_t* context);
scpi_result_t SCPI_DigitalAmplitude(scpi_t* context); // "DIGital:AMPLitude"
scpi_result_t SCPI_DigitalAmplitudeQ(scpi_t* context);
scpi_result_t SCPI_DigitalFormat(scpi_t* context); // "DIGital:FORMat"
scpi_result_t SCPI_DigitalFormatQ(scpi_t* context);
scpi_result_t SCPI_DigitalData(scpi_t* context); // "DIGital:DATa"
scpi_result_t SCPI_DigitalDataQ(scpi_t* context);
scpi_result_t SCPI_DigitalTrigger(scpi_t* context);  // "DIGital:TRIGger"
scpi_result_t SCPI_DigitalAutoSend(scpi_t* context); // "DIGital:AS"
scpi_result_t SCPI_DigitalAutoSendQ(scpi_t* context);
scpi_result_t SCPI_DigitalInterval(scpi_t* context); // "DIGital:AS:INTerval"
scpi_result_t SCPI_DigitalIntervalQ(scpi_t* context);
scpi_result_t SCPI_DigitalSpiClock(scpi_t* context); // "DIGital:SPI:CLOCk"
scpi_result_t SCPI_DigitalSpiClockQ(scpi_t* context);
scpi_result_t SCPI_DigitalI2cClock(scpi_t* context); // "DIGital:IIC:CLOCk"
scpi_result_t SCPI_DigitalI2cClockQ(scpi_t* context);
scpi_result_t SCPI_DigitalI2cAddr(scpi_t* context); // "DIGital:IIC:ADDRess"
scpi_result_t SCPI_DigitalI2cAddrQ(scpi_t* context);
scpi_result_t SCPI_DigitalBaud(scpi_t* context); // "DIGital:UART:BAUDrate"
scpi_result_t SCPI_DigitalBaudQ(scpi_t* context);
scpi_result_t SCPI_DigitalUartBits(scpi_t* context); // "DIGital:UART:DATa"
scpi_result_t SCPI_DigitalUartBitsQ(scpi_t* context);
scpi_result_t SCPI_DigitalUartStop(scpi_t* context); // "DIGital:UART:STOP"
scpi_result_t SCPI_DigitalUartStopQ(scpi_t* context);
scpi_result_t SCPI_DigitalUartParity(scpi_t* context); // "DIGital:UART:PARity"
scpi_result_t SCPI_DigitalUartParityQ(scpi_t* context);

// The data message that follows "DIGital:DATa": without its terminator (a
// final LF or CR LF), at most 2048 bytes used.
void SCPI_DigitalDataReceived(scpi_t* context, const char* data, long length);
// The same as the worker's data receiver of WF_DIGITALDATA.
void SCPI_DigitalDataReceiver(const char* data, long length);
