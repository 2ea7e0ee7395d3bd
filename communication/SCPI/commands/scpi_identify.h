#pragma once
// Identification and error-list commands.
#include "communication/SCPI/scpi_types.h"

scpi_result_t SCPI_IdnQ(scpi_t* context);         // "*IDN?"
scpi_result_t SCPI_ModelIdnQ(scpi_t* context);    // "IDN?"
scpi_result_t SCPI_SystemInfoQ(scpi_t* context);  // "SYSTem:INFO?"
scpi_result_t SCPI_SystemErrorQ(scpi_t* context); // "SYSTem:ERRor?"
scpi_result_t SCPI_SystemError(scpi_t* context);  // "SYSTem:ERRor"
