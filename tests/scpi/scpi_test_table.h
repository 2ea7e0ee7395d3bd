#pragma once
// A small command table for exercising the interpreter, shared by the unit
// tests and the fuzz target (plain C++, no test framework), and a rig that
// owns a context of its own with an interface capturing everything.
#include <string>
#include <vector>
#include "communication/SCPI/scpi.h"

extern const scpi_command_t scpi_test_commands[];

// What the handlers of the test table saw last.
struct ScpiTestRecord {
    std::vector<std::string> calls; // pattern of every handler run
    int32_t numbers[4] = {0, 0, 0, 0};
    int32_t i = 0;
    uint32_t u = 0;
    double d = 0;
    bool b = false;
    int32_t choice = -1;
    scpi_number_t number {};
    std::string text;
    std::string chars;
    std::string block;
    scpi_token_type_t paramType = SCPI_TOKEN_UNKNOWN;
    int32_t optional = 0;
    double freq[5] = {0, 0, 0, 0, 0};
    double volt = 0;
    bool readOk = false; // result of the last parameter reader
    void clear() { *this = ScpiTestRecord(); }
};
extern ScpiTestRecord scpi_test_record;

struct ScpiTestRig {
    scpi_t ctx {};
    char input[SCPI_INPUT_BUFFER_LENGTH];
    scpi_fifo_t fifo;
    scpi_reg_val_t regs[SCPI_REG_COUNT];
    scpi_interface_t iface;

    std::string out;
    std::vector<int> errors; // codes handed to the error callback
    std::vector<std::pair<int, int>> controls;
    int flushes = 0;
    int resets = 0;

    ScpiTestRig();
    ScpiTestRig(const ScpiTestRig&) = delete;
    ScpiTestRig& operator=(const ScpiTestRig&) = delete;
    int send(const std::string& message);
    // The response to one message alone.
    std::string ask(const std::string& message)
    {
        out.clear();
        send(message);
        return out;
    }
    // Error queue in order, emptied.
    std::vector<int> drainErrors();
};
