#include "communication/SCPI/scpi_fifo.h"

static const int16_t kSlots = SCPI_ERROR_QUEUE_SIZE + 1;

// A queue whose indices were never set up (or were damaged) behaves as an
// empty one of the normal size instead of indexing outside its storage.
static void repair(scpi_fifo_t* f)
{
    if (f->size != kSlots || f->wr < 0 || f->wr >= kSlots || f->rd < 0 || f->rd >= kSlots)
        fifo_init(f);
}

void fifo_init(scpi_fifo_t* f)
{
    f->wr = 0;
    f->rd = 0;
    f->size = kSlots;
    for (int16_t& d : f->data)
        d = 0;
}

void fifo_clear(scpi_fifo_t* f)
{
    repair(f);
    f->wr = 0;
    f->rd = 0;
}

bool fifo_is_empty(const scpi_fifo_t* f) { return fifo_count(f) == 0; }

bool fifo_is_full(const scpi_fifo_t* f) { return fifo_count(f) == SCPI_ERROR_QUEUE_SIZE; }

int fifo_count(const scpi_fifo_t* f)
{
    if (f->size != kSlots || f->wr < 0 || f->wr >= kSlots || f->rd < 0 || f->rd >= kSlots)
        return 0;
    int n = f->wr - f->rd;
    return n < 0 ? n + kSlots : n;
}

void fifo_add(scpi_fifo_t* f, int16_t code)
{
    repair(f);
    if (fifo_is_full(f))
        f->rd = int16_t((f->rd + 1) % kSlots);
    f->data[f->wr] = code;
    f->wr = int16_t((f->wr + 1) % kSlots);
}

bool fifo_remove(scpi_fifo_t* f, int16_t* code)
{
    repair(f);
    if (f->wr == f->rd)
        return false;
    if (code)
        *code = f->data[f->rd];
    f->rd = int16_t((f->rd + 1) % kSlots);
    return true;
}
