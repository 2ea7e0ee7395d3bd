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

// The status byte as a client reads it: the summaries of the enabled event
// registers, "error queue not empty" while the instrument's error list
// holds a code, MAV when mav is true (a reply waits for the asking client)
// and the master summary 0x40 when any bit enabled in the service request
// enable register is set. Safe to call from a transport thread.
uint8_t SCPI_StatusByte(scpi_t* context, bool mav);

// Conditions of the operation and questionable registers as the instrument
// sees them now. Any thread may report a condition (the supervision timer
// does); a rising condition latches its bit into the event register. The
// latched bits wait in an atomic until the interpreter's thread takes them
// into the context's registers (SCPI_StatusTake), and the status byte
// counts them meanwhile, so a serial poll sees them at once.
void SCPI_StatusCondition(scpi_reg_name_t event, scpi_reg_val_t bits, bool on);
scpi_reg_val_t SCPI_StatusConditionGet(scpi_reg_name_t event);
// Interpreter thread: moves the latched edges into the event registers
// (which updates the summary bits and may request service).
void SCPI_StatusTake(scpi_t* context);
