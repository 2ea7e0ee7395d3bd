#pragma once
// Types of the SCPI interpreter: the context, command and choice records,
// tokens, units, number parameters and the status register indices.
//
// The interpreter is plain C++ without Qt so that it can be built on its own
// (the fuzz target builds it with clang alone). Everything it keeps lives in
// the context or in static storage; nothing is allocated while parsing.
#include <cstddef>
#include <cstdint>

class QObject;

// Size of the input buffer; a message may use all but the terminating NUL.
// Long compound messages (many settings in one line) fit; a longer message
// is refused with "Input buffer overrun".
enum { SCPI_INPUT_BUFFER_LENGTH = 8192 };
enum { SCPI_INPUT_MAX_MESSAGE = SCPI_INPUT_BUFFER_LENGTH - 1 };
// Capacity of the error FIFO in codes.
enum { SCPI_ERROR_QUEUE_SIZE = 16 };
// Room for a header made absolute by the compound rule.
enum { SCPI_HEADER_BUFFER_LENGTH = 2 * SCPI_INPUT_BUFFER_LENGTH };
// Most numeric suffix places ("#") and nodes a pattern may have.
enum { SCPI_MAX_PATTERN_NUMBERS = 16, SCPI_MAX_PATTERN_NODES = 32 };

struct scpi_t;

enum scpi_result_t : int {
    SCPI_RES_OK = 1,
    SCPI_RES_ERR = -1,
};

typedef scpi_result_t (*scpi_command_callback_t)(scpi_t* context);

struct scpi_command_t {
    const char* pattern;
    scpi_command_callback_t callback;
    int32_t tag;
};

enum scpi_token_type_t : int {
    SCPI_TOKEN_COMMA = 0,
    SCPI_TOKEN_SEMICOLON = 1,
    SCPI_TOKEN_QUESTION = 2,
    SCPI_TOKEN_NL = 3,
    SCPI_TOKEN_HEXNUM = 4,
    SCPI_TOKEN_OCTNUM = 5,
    SCPI_TOKEN_BINNUM = 6,
    SCPI_TOKEN_PROGRAM_MNEMONIC = 7,
    SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA = 8,
    SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX = 9,
    SCPI_TOKEN_SUFFIX_PROGRAM_DATA = 10,
    SCPI_TOKEN_ARBITRARY_BLOCK_PROGRAM_DATA = 11,
    SCPI_TOKEN_SINGLE_QUOTE_PROGRAM_DATA = 12,
    SCPI_TOKEN_DOUBLE_QUOTE_PROGRAM_DATA = 13,
    SCPI_TOKEN_PROGRAM_EXPRESSION = 14,
    SCPI_TOKEN_COMPOUND_PROGRAM_HEADER = 15,
    SCPI_TOKEN_INCOMPLETE_COMPOUND_PROGRAM_HEADER = 16,
    SCPI_TOKEN_COMMON_PROGRAM_HEADER = 17,
    SCPI_TOKEN_INCOMPLETE_COMMON_PROGRAM_HEADER = 18,
    SCPI_TOKEN_COMPOUND_QUERY_PROGRAM_HEADER = 19,
    SCPI_TOKEN_COMMON_QUERY_PROGRAM_HEADER = 20,
    SCPI_TOKEN_WS = 21,
    SCPI_TOKEN_ALL_PROGRAM_DATA = 22,
    SCPI_TOKEN_INVALID = 23,
    SCPI_TOKEN_UNKNOWN = 24,
};

struct scpi_token_t {
    scpi_token_type_t type;
    const char* ptr;
    int len;
};
// A parameter as handed to a command handler is one program data token.
typedef scpi_token_t scpi_parameter_t;

// Lexer position over a piece of text (never NUL-terminated by contract).
struct lex_state_t {
    const char* buffer;
    const char* pos;
    int len;
};

enum scpi_message_termination_t : int {
    SCPI_MESSAGE_TERMINATION_NONE = 0,
    SCPI_MESSAGE_TERMINATION_NL = 1,
    SCPI_MESSAGE_TERMINATION_SEMICOLON = 2,
};

struct scpi_parser_state_t {
    scpi_token_t programHeader;
    scpi_token_t programData;
    int numberOfParameters;
    scpi_message_termination_t termination;
};

struct scpi_buffer_t {
    int length;   // capacity of data
    int position; // bytes held
    char* data;
};

struct scpi_const_buffer_t {
    int length;
    int position;
    const char* data;
};

struct scpi_param_list_t {
    const scpi_command_t* cmd;
    lex_state_t lex_state;
    scpi_const_buffer_t cmd_raw;
};

enum scpi_ctrl_name_t : int {
    SCPI_CTRL_SRQ = 1,
    SCPI_CTRL_GTL = 2,
    SCPI_CTRL_SDC = 3,
    SCPI_CTRL_PPC = 4,
    SCPI_CTRL_GET = 5,
    SCPI_CTRL_TCT = 6,
    SCPI_CTRL_LLO = 7,
    SCPI_CTRL_DCL = 8,
    SCPI_CTRL_PPU = 9,
    SCPI_CTRL_SPE = 10,
    SCPI_CTRL_SPD = 11,
    SCPI_CTRL_MLA = 12,
    SCPI_CTRL_UNL = 13,
    SCPI_CTRL_MTA = 14,
    SCPI_CTRL_UNT = 15,
    SCPI_CTRL_MSA = 16,
};

typedef uint16_t scpi_reg_val_t;

enum scpi_reg_name_t : int {
    SCPI_REG_STB = 0,
    SCPI_REG_SRE = 1,
    SCPI_REG_ESR = 2,
    SCPI_REG_ESE = 3,
    SCPI_REG_OPER = 4,
    SCPI_REG_OPERE = 5,
    SCPI_REG_QUES = 6,
    SCPI_REG_QUESE = 7,
    SCPI_REG_COUNT = 8,
};

// Status byte bits.
enum : scpi_reg_val_t {
    STB_R01 = 0x01,
    STB_PRO = 0x02,
    STB_QMA = 0x04, // error queue not empty
    STB_QES = 0x08, // questionable status summary
    STB_MAV = 0x10,
    STB_ESR = 0x20, // event status summary
    STB_SRQ = 0x40, // request service
    STB_OPS = 0x80, // operation status summary
};

// Event status register bits.
enum : scpi_reg_val_t {
    ESR_OPC = 0x01,
    ESR_REQ = 0x02,
    ESR_QER = 0x04,
    ESR_DER = 0x08,
    ESR_EER = 0x10,
    ESR_CER = 0x20,
    ESR_URQ = 0x40,
    ESR_PON = 0x80,
};

// Operation and questionable status bits the instrument reports (SCPI-99
// bit positions).
enum : scpi_reg_val_t {
    OPER_SWEEPING = 0x0008,     // a channel sweeps
    OPER_WAIT_TRIGGER = 0x0020, // a channel in sweep or burst waits for a trigger
    QUES_VOLTAGE = 0x0001,      // an output overload switched a channel off
    QUES_TEMPERATURE = 0x0010,  // the board is over temperature
    QUES_FREQUENCY = 0x0020,    // the external frequency reference is lost
};

struct scpi_interface_t {
    int (*error)(scpi_t* context, int_fast16_t error);
    size_t (*write)(scpi_t* context, const char* data, size_t len);
    scpi_result_t (*control)(scpi_t* context, scpi_ctrl_name_t ctrl, scpi_reg_val_t val);
    scpi_result_t (*flush)(scpi_t* context);
    scpi_result_t (*reset)(scpi_t* context);
};

struct scpi_choice_def_t {
    const char* name;
    int32_t tag;
};

enum scpi_unit_t : int {
    SCPI_UNIT_NONE = 0,
    SCPI_UNIT_VOLT = 1,
    SCPI_UNIT_VPP = 2,
    SCPI_UNIT_VRMS = 3,
    SCPI_UNIT_VDBM = 4,
    SCPI_UNIT_DB = 5,
    SCPI_UNIT_AMPER = 6,
    SCPI_UNIT_HERTZ = 7,
    SCPI_UNIT_BITRATE = 8,
    SCPI_UNIT_CELSIUS = 9,
    SCPI_UNIT_SECONDS = 10,
    SCPI_UNIT_DISTANCE = 11,
};

struct scpi_unit_def_t {
    const char* name;
    scpi_unit_t unit;
    double mult;
};

struct scpi_number_t {
    bool special;
    union {
        double value;
        int32_t tag;
    };
    scpi_unit_t unit;
    int8_t base;
};

struct scpi_fifo_t {
    int16_t wr;
    int16_t rd;
    int16_t size; // slots in data; one stays free to tell full from empty
    int16_t data[SCPI_ERROR_QUEUE_SIZE + 1];
};

class ScpiInstrument;

struct scpi_t {
    const scpi_command_t* cmdlist;
    scpi_buffer_t buffer;
    scpi_param_list_t param_list;
    scpi_interface_t* interface;
    int_fast16_t output_count;
    int_fast16_t input_count;
    bool cmd_error;
    scpi_fifo_t* error_queue;
    scpi_reg_val_t* registers;
    const scpi_unit_def_t* units;
    void* user_context;
    // What the command handlers act on and read (the command set's narrow
    // view of the instrument); null: a blank instrument that takes nothing.
    // Set before the context's thread starts parsing.
    ScpiInstrument* instrument;
    scpi_parser_state_t parser_state;
    const char* idn[4];
    QObject* parent;

    // Storage of the header of the running command once made absolute by
    // the compound rule, and the path that the next relative header inherits.
    char header_storage[SCPI_HEADER_BUFFER_LENGTH];
    char path_storage[SCPI_HEADER_BUFFER_LENGTH];
    int path_len;
};
