#pragma once
// Arming commands of the wave and list uploads: "WARB#:CARRier name",
// "WARB#:MODulate name" and "WFREQLIST# name" make the next message the
// file's bytes (received by the SCPI worker's file receivers).
#include "SCPI/scpi_types.h"

scpi_result_t SCPI_WarbCarrier(scpi_t* context);
scpi_result_t SCPI_WarbModulate(scpi_t* context);
scpi_result_t SCPI_WFreqList(scpi_t* context);
