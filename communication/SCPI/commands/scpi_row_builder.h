#pragma once
// Named construction of the row descriptors: every field of a row is said at
// its place in the table, e.g.
//
//   row(R_BASE_FREQ).channel().param(PARAM_INDEX_FREQ).number(SCPI_UNIT_HERTZ)
//       .reply(RF_SCIENTIFIC, SCPI_READ_CH(Frequency)).waits(RW_APPLIED)
//       .set(frequencySet).effect("frequency (the entry switches to frequency form)")
//
// What a row does not say keeps the default: no target, no parameter index,
// no parameter, no reply, no waiting, the generic handlers, a suffix of
// another kind -224. Every call is constexpr, so the compiler builds the
// tables.
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/commands/scpi_rows.h"

class scpi_row_builder {
public:
    constexpr explicit scpi_row_builder(int32_t id) : r {}
    {
        r.id = id;
        r.paramIndex = -1;
        r.suffixError = SCPI_ERROR_ILLEGAL_PARAMETER_VALUE;
    }
    constexpr operator scpi_row_t() const { return r; }

private:
    // A copy of this row with one field changed: each named call below is one.
    // (Defined before its users: clang will not evaluate a member template in
    // a constant expression before its definition.)
    template <class Field, class Value>
    constexpr scpi_row_builder with(Field scpi_row_t::*field, Value value) const
    {
        scpi_row_builder b = *this;
        b.r.*field = Field(value);
        return b;
    }

public:
    // ---- whom the row addresses -------------------------------------------------
    constexpr scpi_row_builder channel() const { return target(RT_CHANNEL); }
    constexpr scpi_row_builder pair() const { return target(RT_PAIR); }
    constexpr scpi_row_builder system() const { return target(RT_SYSTEM); }
    constexpr scpi_row_builder counter() const { return target(RT_COUNTER); }

    // ---- the PARAM_INDEX_... the generic setter sends -------------------------
    constexpr scpi_row_builder param(int index) const { return with(&scpi_row_t::paramIndex, int16_t(index)); }

    // ---- what the set form reads ----------------------------------------------
    constexpr scpi_row_builder boolean() const { return kind(RK_BOOL); }
    constexpr scpi_row_builder choice(const scpi_choice_def_t* list) const { return kind(RK_CHOICE).choices(list); }
    // A word of the list read as a numeric parameter.
    constexpr scpi_row_builder special(const scpi_choice_def_t* list) const { return kind(RK_SPECIAL).choices(list); }
    // A number with an optional suffix of that kind (SCPI_UNIT_ANY: any kind).
    constexpr scpi_row_builder number(int suffix) const
    {
        scpi_row_builder b = kind(RK_NUMBER);
        b.r.suffix = int16_t(suffix);
        return b;
    }
    constexpr scpi_row_builder real() const { return kind(RK_REAL); }
    constexpr scpi_row_builder integer() const { return kind(RK_INT); }
    constexpr scpi_row_builder text() const { return kind(RK_TEXT); }
    constexpr scpi_row_builder block() const { return kind(RK_BLOCK); }
    // The code a suffix of another kind reports.
    constexpr scpi_row_builder otherSuffixError(int16_t code) const { return with(&scpi_row_t::suffixError, code); }

    // ---- how a query answers: the format and, for the generic query, the
    // field it reads -----------------------------------------------------------
    constexpr scpi_row_builder reply(scpi_row_format_t format, scpi_row_read_t read = nullptr) const
    {
        scpi_row_builder b = *this;
        b.r.format = format;
        b.r.read = read;
        return b;
    }

    // ---- after a setter -------------------------------------------------------
    constexpr scpi_row_builder waits(scpi_row_wait_t wait) const { return with(&scpi_row_t::wait, wait); }
    // The fixed pause the setter used to take (the reference notes the wait).
    constexpr scpi_row_builder formerPause(int ms) const { return with(&scpi_row_t::formerPauseMs, int16_t(ms)); }

    // ---- the row's own functions (default: the generic ones) -----------------
    constexpr scpi_row_builder set(scpi_row_set_t fn) const { return with(&scpi_row_t::set, fn); }
    constexpr scpi_row_builder query(scpi_row_query_t fn) const { return with(&scpi_row_t::query, fn); }

    // ---- the reference and the log --------------------------------------------
    constexpr scpi_row_builder effect(const char* text) const { return with(&scpi_row_t::effect, text); }
    // A wrong channel number is also logged.
    constexpr scpi_row_builder logChannel() const
    {
        return with(&scpi_row_t::flags, uint8_t(r.flags | RFL_LOG_CHANNEL));
    }

private:
    constexpr scpi_row_builder target(scpi_row_target_t t) const { return with(&scpi_row_t::target, t); }
    constexpr scpi_row_builder kind(scpi_row_kind_t k) const { return with(&scpi_row_t::kind, k); }
    constexpr scpi_row_builder choices(const scpi_choice_def_t* list) const { return with(&scpi_row_t::choices, list); }

    scpi_row_t r;
};

// A row of the table, described by the calls that follow.
constexpr scpi_row_builder row(int32_t id) { return scpi_row_builder(id); }

// The record that ends an area's table.
constexpr scpi_row_t kRowsEnd = scpi_row_builder(0);
