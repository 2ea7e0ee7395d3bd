#pragma once
// The IEEE 488.2 common commands every instrument-control client expects:
// status reporting (*CLS, *ESE, *ESR?, *SRE, *STB?), synchronisation (*OPC,
// *OPC?, *WAI) and the self-test query (*TST?). They work on the status
// registers the interpreter keeps and on the instrument's error list.
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi_types.h"

// SCPI_StatusByte lives with the status registers (scpi_ieee488.h).

scpi_result_t SCPI_CoreCls(scpi_t* context);  // "*CLS"
scpi_result_t SCPI_CoreEse(scpi_t* context);  // "*ESE"
scpi_result_t SCPI_CoreEseQ(scpi_t* context); // "*ESE?"
scpi_result_t SCPI_CoreEsrQ(scpi_t* context); // "*ESR?"
scpi_result_t SCPI_CoreOpc(scpi_t* context);  // "*OPC"
scpi_result_t SCPI_CoreOpcQ(scpi_t* context); // "*OPC?"
scpi_result_t SCPI_CoreSre(scpi_t* context);  // "*SRE"
scpi_result_t SCPI_CoreSreQ(scpi_t* context); // "*SRE?"
scpi_result_t SCPI_CoreStbQ(scpi_t* context); // "*STB?"
scpi_result_t SCPI_CoreTstQ(scpi_t* context); // "*TST?"
scpi_result_t SCPI_CoreWai(scpi_t* context);  // "*WAI"
scpi_result_t SCPI_CoreTrg(scpi_t* context);  // "*TRG"
scpi_result_t SCPI_CoreSav(scpi_t* context);  // "*SAV"
scpi_result_t SCPI_CoreRcl(scpi_t* context);  // "*RCL"
scpi_result_t SCPI_CoreOptQ(scpi_t* context); // "*OPT?"
scpi_result_t SCPI_CorePsc(scpi_t* context);  // "*PSC"
scpi_result_t SCPI_CorePscQ(scpi_t* context); // "*PSC?"

// SCPI-99 required system and status commands.
scpi_result_t SCPI_SystemVersionQ(scpi_t* context);    // "SYSTem:VERSion?"
scpi_result_t SCPI_SystemErrorCountQ(scpi_t* context); // "SYSTem:ERRor:COUNt?"
// STATus:OPERation / STATus:QUEStionable, the register by the command's tag.
scpi_result_t SCPI_StatusEventQ(scpi_t* context);     // "[:EVENt]?"
scpi_result_t SCPI_StatusConditionQ(scpi_t* context); // ":CONDition?"
scpi_result_t SCPI_StatusEnable(scpi_t* context);     // ":ENABle"
scpi_result_t SCPI_StatusEnableQ(scpi_t* context);    // ":ENABle?"
scpi_result_t SCPI_StatusPreset(scpi_t* context);     // "STATus:PRESet"
