#pragma once
// Data-driven rows of the command table. Most commands of the instrument
// follow one of a few shapes (read a channel number, read a parameter of one
// kind, hand it to the controller as one parameter index; or format one
// field of the record), so each is described by one `scpi_row_t` and run by
// the two generic handlers below. Rows with more to do name their own set or
// query function; the generic part still resolves the target for them.
//
// The same descriptors produce the command reference (docs/scpi-commands.md,
// tools/scpi_doc).
#include <cstdint>
#include "communication/SCPI/scpi_types.h"
#include "param/hardwareinfo.h"

class ScpiInstrument;

// Whom a row addresses.
enum scpi_row_target_t : uint8_t {
    RT_NONE,    // no target (identification, data-transfer arming ...)
    RT_CHANNEL, // CHANnel# : 1..4, none = 1, others -108
    RT_PAIR,    // CHANnel:COUPle# : 1 = CH1-CH2, 2 = CH3-CH4, others fail
    RT_SYSTEM,  // CH_SYS
    RT_COUNTER, // CH_COUNTER
};

// What the set form reads.
enum scpi_row_kind_t : uint8_t {
    RK_NONE,    // no parameter
    RK_BOOL,    // ON/OFF or a number
    RK_CHOICE,  // a word of the row's list (-224 for another word, -104 for a non-word)
    RK_SPECIAL, // a word of the list read as a numeric parameter (a plain number -224)
    RK_NUMBER,  // a number with an optional suffix of the row's kind
    RK_REAL,    // a number without suffix
    RK_INT,     // an integer without suffix
    RK_TEXT,    // characters or string data
    RK_BLOCK,   // a definite-length block
};

// How a query formats what the row's reader returns.
enum scpi_row_format_t : uint8_t {
    RF_NONE,       // the row has a query function of its own (or none)
    RF_SCIENTIFIC, // "%-13.6e"
    RF_BOOL,       // "1" / "0"
    RF_INT,        // decimal, truncated
    RF_NAME,       // the list entry at the position read
};

// Suffix kinds beyond the parser's units.
enum : int { SCPI_UNIT_ANY = 100 };

// Waiting after a setter until the controller has applied it.
enum scpi_row_wait_t : uint8_t {
    RW_NONE,    // nothing sent, or a direct action
    RW_APPLIED, // the controller's thread has run the request
    RW_SCREENS, // the request also made a round trip through the channel page
};

struct scpi_row_t;
typedef scpi_result_t (*scpi_row_set_t)(scpi_t* context, const scpi_row_t& row, int target);
typedef scpi_result_t (*scpi_row_query_t)(scpi_t* context, const scpi_row_t& row, int target);
// Reads the queried field for the resolved target (channel 0..3, pair 4/5,
// CH_SYS, CH_COUNTER).
typedef double (*scpi_row_read_t)(const HardWareInfo& rec, int target);

struct scpi_row_t {
    int32_t id; // the table records' tag
    scpi_row_target_t target;
    scpi_row_kind_t kind;
    int16_t paramIndex;  // PARAM_INDEX_... sent by the generic setter (-1: none)
    int16_t suffix;      // accepted suffix kind (scpi_unit_t, SCPI_UNIT_ANY), NONE: no suffix
    int16_t suffixError; // code of a suffix of another kind (SCPI_ERROR_...)
    const scpi_choice_def_t* choices;
    scpi_row_format_t format;
    scpi_row_read_t read;
    scpi_row_wait_t wait;
    int16_t formerPauseMs;  // the fixed pause this setter used to take
    scpi_row_set_t set;     // own set function (null: generic)
    scpi_row_query_t query; // own query function (null: generic)
    const char* effect;     // one line for the command reference
    uint8_t flags;          // RFL_...
};

enum : uint8_t {
    RFL_LOG_CHANNEL = 1, // a wrong channel number is also logged (sweep and burst rows)
};

// Areas of the table; a row's id is (area << 8) | number.
enum scpi_row_area_t {
    SCPI_AREA_SYSTEM = 1,
    SCPI_AREA_OUTPUT = 2,
    SCPI_AREA_COUPLE = 3,
    SCPI_AREA_BASE = 4,
    SCPI_AREA_MODES = 5,
    SCPI_AREA_FILES = 6,
};
#define SCPI_ROW_ID(area, n) (((area) << 8) | (n))

// The descriptors of one area (declared with scpi_row_builder.h), ended by a
// record with id 0.
extern const scpi_row_t scpi_rows_system[];
extern const scpi_row_t scpi_rows_output[];
extern const scpi_row_t scpi_rows_couple[];
extern const scpi_row_t scpi_rows_base[];
extern const scpi_row_t scpi_rows_modes[];
extern const scpi_row_t scpi_rows_files[];

// The descriptor with that id, null when there is none.
const scpi_row_t* scpi_row_find(int32_t id);

// The generic handlers every described row is registered with.
scpi_result_t SCPI_RowSet(scpi_t* context);
scpi_result_t SCPI_RowQuery(scpi_t* context);

// Two table records, query and set form, for one described row.
#define SCPI_ROW_QS(pattern, id)                                                                                       \
    {pattern "?", SCPI_RowQuery, id}, { pattern, SCPI_RowSet, id }
#define SCPI_ROW_Q(pattern, id)                                                                                        \
    {                                                                                                                  \
        pattern "?", SCPI_RowQuery, id                                                                                 \
    }
#define SCPI_ROW_S(pattern, id)                                                                                        \
    {                                                                                                                  \
        pattern, SCPI_RowSet, id                                                                                       \
    }

// ---- helpers for the rows' own functions ------------------------------------
// The instrument a handler talks to.
ScpiInstrument& scpi_row_instrument(scpi_t* context);
// The channel record of a channel 0..3 or of a pair's first channel (4/5).
const CH_DATA& scpi_row_channel(const HardWareInfo& rec, int target);
// Reads a number and checks its suffix against the row (kind and error).
bool scpi_row_number(scpi_t* context, const scpi_row_t& row, double* value, scpi_unit_t* unit);
// Reads the row's parameter by its kind as a double (choice: the tag).
bool scpi_row_value(scpi_t* context, const scpi_row_t& row, double* value);
// Waits as the row says (a generous timeout; a timeout reports -200).
void scpi_row_wait(scpi_t* context, const scpi_row_t& row);
// The numbers of the header's "#" places, 1 when not given.
void scpi_row_numbers(scpi_t* context, int32_t* numbers, int count);

// How long a setter waits at most for the controller.
enum { SCPI_APPLY_TIMEOUT_MS = 30000 };
