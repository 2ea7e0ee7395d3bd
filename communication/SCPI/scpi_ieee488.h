#pragma once
// IEEE 488.2 status registers of the context: status byte, event status,
// operation and questionable status with their enable registers. Writing a
// register keeps the summary bits of the status byte up to date and raises a
// service request through the interface's control callback.
#include "communication/SCPI/scpi_types.h"

scpi_reg_val_t SCPI_RegGet(scpi_t* context, scpi_reg_name_t name);
void SCPI_RegSet(scpi_t* context, scpi_reg_name_t name, scpi_reg_val_t value);
void SCPI_RegSetBits(scpi_t* context, scpi_reg_name_t name, scpi_reg_val_t bits);
void SCPI_RegClearBits(scpi_t* context, scpi_reg_name_t name, scpi_reg_val_t bits);
