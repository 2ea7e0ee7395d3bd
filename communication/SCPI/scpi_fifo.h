#pragma once
// Ring buffer of error codes behind the context's error queue. It keeps the
// newest SCPI_ERROR_QUEUE_SIZE codes: adding to a full queue drops the oldest.
#include "communication/SCPI/scpi_types.h"

void fifo_init(scpi_fifo_t* fifo);
void fifo_clear(scpi_fifo_t* fifo);
bool fifo_is_empty(const scpi_fifo_t* fifo);
bool fifo_is_full(const scpi_fifo_t* fifo);
int fifo_count(const scpi_fifo_t* fifo);
void fifo_add(scpi_fifo_t* fifo, int16_t code);
// Takes the oldest code; false when empty.
bool fifo_remove(scpi_fifo_t* fifo, int16_t* code);
