#pragma once
// The transfer record of the FPGA register device. One record describes one
// transfer; the driver reads it from the buffer handed to write()/read() and
// takes the byte count (unit 0) or word count (unit 2) from the length.
#include <cstddef>
#include <cstdint>

// Transfer units.
enum FPGA_UNIT : uint8_t {
    FPGA_UNIT_BYTES = 0, // consecutive registers from Adata, one byte each
    FPGA_UNIT_WORDS = 2, // a stream of 16-bit words into the one port at Adata
};

// The driver reads the record in the process's own layout (the pointer is
// the caller's address), so it keeps native types; on the 32-bit board it is
// 12 bytes with the pointer at 4 and the address at 8, as the driver expects.
struct userCmd {
    uint8_t unit;   // FPGA_UNIT_BYTES or FPGA_UNIT_WORDS
    void* AddrUser; // caller's bytes: source of a write, destination of a read
    uint16_t Adata; // register address
};
static_assert(sizeof(void*) != 4 ||
                  (sizeof(userCmd) == 12 && offsetof(userCmd, AddrUser) == 4 && offsetof(userCmd, Adata) == 8),
              "register device transfer record of the 32-bit board");

// Device control request of the register device: positive while a
// key-expander interrupt is pending.
const unsigned long FPGA_IOCTL_KEY_FLAG = 20;
