#pragma once
// The IEEE 488.2 common commands every instrument-control client expects:
// status reporting (*CLS, *ESE, *ESR?, *SRE, *STB?), synchronisation (*OPC,
// *OPC?, *WAI) and the self-test query (*TST?). They work on the status
// registers the interpreter keeps and on the instrument's error list.
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi_types.h"

// SCPI_StatusByte lives with the status registers (scpi_ieee488.h).

scpi_result_t SCPI_CoreCls(scpi_t* context);   // "*CLS"
scpi_result_t SCPI_CoreEse(scpi_t* context);   // "*ESE"
scpi_result_t SCPI_CoreEseQ(scpi_t* context);  // "*ESE?"
scpi_result_t SCPI_CoreEsrQ(scpi_t* context);  // "*ESR?"
scpi_result_t SCPI_CoreOpc(scpi_t* context);   // "*OPC"
scpi_result_t SCPI_CoreOpcQ(scpi_t* context);  // "*OPC?"
scpi_result_t SCPI_CoreSre(scpi_t* context);   // "*SRE"
scpi_result_t SCPI_CoreSreQ(scpi_t* context);  // "*SRE?"
scpi_result_t SCPI_CoreStbQ(scpi_t* context);  // "*STB?"
scpi_result_t SCPI_CoreTstQ(scpi_t* context);  // "*TST?"
scpi_result_t SCPI_CoreWai(scpi_t* context);   // "*WAI"
