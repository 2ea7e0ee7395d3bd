#pragma once
// The one-message form of a data transfer. Every arming command ("WARB1:CARRier
// \"ramp.bsv\"", "WARB1:MODulate", "WFREQLIST1", "WFILE", "SYSTem:CONFigure",
// "DIGital:DATa") may carry its data in the same message as an IEEE 488.2
// definite-length block after the name:
//
//     WARB1:CARRier "ramp.bsv",#6001024<1024 bytes>
//     SYSTem:CONFigure #44536<4536 bytes>
//
// optionally followed by ";" and more commands (";*OPC?"). This is what
// pyvisa's write_binary_values sends, and the only form that needs no second
// message: the interpreter's input buffer is far smaller than a wave file, so
// the worker takes the block out before the command text reaches it.
#include <cstddef>

struct scpi_arming_block_t {
    size_t commandLen = 0;      // bytes of the arming command before the block
    const char* data = nullptr; // the block's bytes
    size_t length = 0;
    const char* rest = nullptr; // commands after the block's ";" (none: 0 bytes)
    size_t restLen = 0;
};

enum scpi_arming_block_form {
    SCPI_ARM_BLOCK_NONE, // not an arming command with a block: parse as usual
    SCPI_ARM_BLOCK_OK,   // out holds the command, the block and the rest
    SCPI_ARM_BLOCK_BAD,  // an arming command whose block is malformed or lies about its length
};

scpi_arming_block_form scpi_msg_find_arming_block(const char* msg, size_t len, scpi_arming_block_t* out);
