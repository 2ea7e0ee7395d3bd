#pragma once
// The IEEE 488.2 common commands every instrument-control client expects:
// status reporting (*CLS, *ESE, *ESR?, *SRE, *STB?), synchronisation (*OPC,
// *OPC?, *WAI) and the self-test query (*TST?). They work on the status
// registers the interpreter keeps and on the instrument's error list.
#include "SCPI/scpi_types.h"

// The status byte as a client reads it: the summaries of the enabled event
// registers, "error queue not empty" while the instrument's error list
// holds a code, MAV when mav is true (a reply waits for the asking client)
// and the master summary 0x40 when any bit enabled in the service request
// enable register is set. Safe to call from a transport thread.
uint8_t SCPI_StatusByte(scpi_t* context, bool mav);

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
