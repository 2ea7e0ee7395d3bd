#pragma once
// Factory and service access: the calibration station's steps, the transfer
// of the calibration text, direct writes to a channel's output path and the
// identity items written at the factory. These act on the hardware and the
// files directly, not through the controller's models.
#include "communication/SCPI/scpi_types.h"

// The remote lock flag pc_lock lives with the key reader.
#include "hardware/ckeyqthread.h"

scpi_result_t SCPI_ServiceSync(scpi_t* context);  // "SYNC#:CMD#"
scpi_result_t SCPI_ServiceWFile(scpi_t* context); // "WFILE"
scpi_result_t SCPI_ServiceWrite(scpi_t* context); // "WP#:ADDR#"
scpi_result_t SCPI_ServiceReadQ(scpi_t* context); // "RP#:ADDR#?"

// The attenuator code "WP#:ADDR47" remembered for all channels (0 at start).
unsigned char SCPI_ServiceAttCode();

// The receiver of the calibration text that follows "WFILE".
void SCPI_ServiceReceiveCalibration(const char* data, long length);
