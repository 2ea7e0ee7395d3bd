#pragma once
// Frequency counter commands ("SYSTem:CYMometer...").
#include "communication/SCPI/scpi_types.h"

scpi_result_t SCPI_CounterSw(scpi_t* context);       // "SYSTem:CYMometer"
scpi_result_t SCPI_CounterSwQ(scpi_t* context);      // "SYSTem:CYMometer?"
scpi_result_t SCPI_CounterFreqQ(scpi_t* context);    // "SYSTem:CYMometer:FREQuency?"
scpi_result_t SCPI_CounterPeriodQ(scpi_t* context);  // "SYSTem:CYMometer:PERiod?"
scpi_result_t SCPI_CounterDutyQ(scpi_t* context);    // "SYSTem:CYMometer:DUTY?"
scpi_result_t SCPI_CounterPWidthQ(scpi_t* context);  // "SYSTem:CYMometer:PWIDTh?"
scpi_result_t SCPI_CounterNWidthQ(scpi_t* context);  // "SYSTem:CYMometer:NWIDTh?"
scpi_result_t SCPI_CounterCoupling(scpi_t* context); // "SYSTem:CYMometer:TRIGger:COUPling"
scpi_result_t SCPI_CounterCouplingQ(scpi_t* context);
scpi_result_t SCPI_CounterHF(scpi_t* context); // "SYSTem:CYMometer:TRIGger:HF"
scpi_result_t SCPI_CounterHFQ(scpi_t* context);
scpi_result_t SCPI_CounterLevel(scpi_t* context); // "SYSTem:CYMometer:TRIGger:LEVel"
scpi_result_t SCPI_CounterLevelQ(scpi_t* context);
scpi_result_t SCPI_CounterSensitivity(scpi_t* context); // "SYSTem:CYMometer:TRIGger:SENSitivity"
scpi_result_t SCPI_CounterSensitivityQ(scpi_t* context);
