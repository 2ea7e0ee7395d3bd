#include "communication/SCPI/scpi_param.h"
#include <cmath>
#include <cstdint>
#include <cstring>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_lexer.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_numconv.h"
#include "communication/SCPI/scpi_units.h"

static bool missing(scpi_t* c, bool mandatory)
{
    if (mandatory)
        SCPI_ErrorPush(c, SCPI_ERROR_MISSING_PARAMETER);
    return false;
}

static bool atEmptyElement(const lex_state_t* s) { return scpiLex_IsEos(s) || s->pos[0] == ','; }

bool SCPI_Parameter(scpi_t* c, scpi_parameter_t* parameter, bool mandatory)
{
    if (!c || !parameter)
        return false;
    parameter->type = SCPI_TOKEN_UNKNOWN;
    parameter->ptr = nullptr;
    parameter->len = 0;

    lex_state_t* s = &c->param_list.lex_state;
    scpi_token_t tok;
    scpiLex_WhiteSpace(s, &tok);
    if (scpiLex_IsEos(s))
        return missing(c, mandatory);
    if (c->input_count > 0) {
        if (scpiLex_Comma(s, &tok) == 0) {
            SCPI_ErrorPush(c, SCPI_ERROR_INVALID_SEPARATOR);
            return false;
        }
        scpiLex_WhiteSpace(s, &tok);
    }
    if (atEmptyElement(s)) {
        // "1,,2" or a trailing ",": a parameter place left empty
        c->input_count++;
        return missing(c, mandatory);
    }
    if (scpiLex_ProgramData(s, parameter) == 0) {
        SCPI_ErrorPush(c, SCPI_ERROR_INVALID_CHARACTER);
        return false;
    }
    c->input_count++;
    scpiLex_WhiteSpace(s, &tok);
    return true;
}

// Length of the number in a decimal token, without white space and suffix.
static int numberPartLength(const scpi_parameter_t* p) { return scpiLex_NumberLength(p->ptr, p->len); }

// Suffix of a decimal token with suffix (after the number and blanks).
static void suffixOf(const scpi_parameter_t* p, int numberLen, const char** ptr, int* len)
{
    int i = numberLen;
    while (i < p->len && scpiLex_IsWs(static_cast<unsigned char>(p->ptr[i])))
        i++;
    *ptr = p->ptr + i;
    *len = p->len - i;
}

// Digits of a #H/#Q/#B token as an unsigned value; false beyond 32 bits.
static bool nondecimalValue(const scpi_parameter_t* p, uint32_t* value)
{
    int base;
    switch (p->type) {
    case SCPI_TOKEN_HEXNUM: base = 16; break;
    case SCPI_TOKEN_OCTNUM: base = 8; break;
    case SCPI_TOKEN_BINNUM: base = 2; break;
    default: return false;
    }
    uint64_t v = 0;
    for (int i = 2; i < p->len; i++) {
        const char ch = p->ptr[i];
        int d;
        if (ch >= '0' && ch <= '9')
            d = ch - '0';
        else if (ch >= 'A' && ch <= 'F')
            d = ch - 'A' + 10;
        else if (ch >= 'a' && ch <= 'f')
            d = ch - 'a' + 10;
        else
            return false;
        v = v * uint64_t(base) + uint64_t(d);
        if (v > UINT32_MAX)
            return false;
    }
    *value = uint32_t(v);
    return true;
}

static bool isNondecimal(scpi_token_type_t t)
{
    return t == SCPI_TOKEN_HEXNUM || t == SCPI_TOKEN_OCTNUM || t == SCPI_TOKEN_BINNUM;
}

bool SCPI_ParamToDouble(const scpi_parameter_t* p, double* value)
{
    if (!p || !value || !p->ptr)
        return false;
    if (isNondecimal(p->type)) {
        uint32_t v;
        if (!nondecimalValue(p, &v))
            return false;
        *value = double(v);
        return true;
    }
    if (p->type == SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA)
        return scpi_parse_double(p->ptr, p->len, value);
    if (p->type == SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX) {
        const int n = numberPartLength(p);
        return n > 0 && scpi_parse_double(p->ptr, n, value);
    }
    return false;
}

// Integer reading shared by the signed and unsigned readers.
static bool paramInteger(scpi_t* c, double lo, double hi, bool isSigned, int64_t* out, bool mandatory)
{
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    if (isNondecimal(p.type)) {
        uint32_t v;
        if (!nondecimalValue(&p, &v)) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        // #H FFFFFFFF is the 32-bit pattern, -1 for a signed destination.
        *out = isSigned ? int64_t(int32_t(v)) : int64_t(v);
        return true;
    }
    if (p.type == SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX) {
        SCPI_ErrorPush(c, SCPI_ERROR_SUFFIX_NOT_ALLOWED);
        return false;
    }
    if (p.type != SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    double d;
    if (!scpi_parse_double(p.ptr, p.len, &d)) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    d = std::round(d);
    if (d < lo || d > hi) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    *out = int64_t(d);
    return true;
}

bool SCPI_ParamInt(scpi_t* c, int32_t* value, bool mandatory)
{
    int64_t v;
    if (!value || !paramInteger(c, double(INT32_MIN), double(INT32_MAX), true, &v, mandatory))
        return false;
    *value = int32_t(v);
    return true;
}

bool SCPI_ParamUnsignedInt(scpi_t* c, uint32_t* value, bool mandatory)
{
    int64_t v;
    if (!value || !paramInteger(c, 0.0, double(UINT32_MAX), false, &v, mandatory))
        return false;
    *value = uint32_t(v);
    return true;
}

bool SCPI_ParamDouble(scpi_t* c, double* value, bool mandatory)
{
    if (!value)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    if (p.type == SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX) {
        SCPI_ErrorPush(c, SCPI_ERROR_SUFFIX_NOT_ALLOWED);
        return false;
    }
    if (p.type != SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA && !isNondecimal(p.type)) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    double d;
    if (!SCPI_ParamToDouble(&p, &d)) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    *value = d;
    return true;
}

static const scpi_choice_def_t* findChoice(const scpi_choice_def_t* options, const char* text, int len)
{
    for (const scpi_choice_def_t* o = options; o && o->name; o++)
        if (SCPI_MatchMnemonic(o->name, int(strlen(o->name)), text, len))
            return o;
    return nullptr;
}

bool SCPI_ParamNumber(scpi_t* c, const scpi_choice_def_t* special, scpi_number_t* value, bool mandatory)
{
    if (!value)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;

    scpi_number_t n;
    n.special = false;
    n.value = 0;
    n.unit = SCPI_UNIT_NONE;
    n.base = 10;

    switch (p.type) {
    case SCPI_TOKEN_HEXNUM:
    case SCPI_TOKEN_OCTNUM:
    case SCPI_TOKEN_BINNUM: {
        n.base = p.type == SCPI_TOKEN_HEXNUM ? 16 : p.type == SCPI_TOKEN_OCTNUM ? 8 : 2;
        double d;
        if (!SCPI_ParamToDouble(&p, &d)) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        n.value = d;
        break;
    }
    case SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA:
        if (!scpi_parse_double(p.ptr, p.len, &n.value)) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        break;
    case SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX: {
        const int numLen = numberPartLength(&p);
        const char* suffix;
        int suffixLen;
        suffixOf(&p, numLen, &suffix, &suffixLen);
        const scpi_unit_def_t* unit = SCPI_FindUnit(c->units, suffix, suffixLen);
        if (!unit) {
            SCPI_ErrorPush(c, SCPI_ERROR_INVALID_SUFFIX);
            return false;
        }
        double d;
        if (numLen <= 0 || !scpi_parse_double(p.ptr, numLen, &d) || !std::isfinite(d * unit->mult)) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        n.value = d * unit->mult;
        n.unit = unit->unit;
        break;
    }
    case SCPI_TOKEN_PROGRAM_MNEMONIC: {
        if (!special) {
            SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
            return false;
        }
        const scpi_choice_def_t* o = findChoice(special, p.ptr, p.len);
        if (!o) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        n.special = true;
        n.tag = o->tag;
        break;
    }
    default: SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR); return false;
    }
    *value = n;
    return true;
}

static const scpi_choice_def_t kBoolOptions[] = {
    {"OFF", 0},
    {"ON", 1},
    {nullptr, -1},
};

bool SCPI_ParamBool(scpi_t* c, bool* value, bool mandatory)
{
    if (!value)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    switch (p.type) {
    case SCPI_TOKEN_PROGRAM_MNEMONIC: {
        const scpi_choice_def_t* o = findChoice(kBoolOptions, p.ptr, p.len);
        if (!o) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        *value = o->tag != 0;
        return true;
    }
    case SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA: {
        double d;
        if (!scpi_parse_double(p.ptr, p.len, &d)) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        *value = d != 0;
        return true;
    }
    case SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX:
        SCPI_ErrorPush(c, SCPI_ERROR_SUFFIX_NOT_ALLOWED);
        return false;
    default: SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR); return false;
    }
}

static bool hasWs(const scpi_parameter_t* p)
{
    for (int i = 0; i < p->len; i++)
        if (scpiLex_IsWs(static_cast<unsigned char>(p->ptr[i])))
            return true;
    return false;
}

bool SCPI_ParamChoice(scpi_t* c, const scpi_choice_def_t* options, int32_t* value, bool mandatory)
{
    if (!value)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    // "5MIN" reaches the lexer as the number 5 with the suffix MIN; taken as
    // written it is still the choice's name.
    const bool nameLike = p.type == SCPI_TOKEN_PROGRAM_MNEMONIC ||
        (p.type == SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX && !hasWs(&p));
    if (!nameLike) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    const scpi_choice_def_t* o = findChoice(options, p.ptr, p.len);
    if (!o) {
        SCPI_ErrorPush(
            c, p.type == SCPI_TOKEN_PROGRAM_MNEMONIC ? SCPI_ERROR_ILLEGAL_PARAMETER_VALUE : SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    *value = o->tag;
    return true;
}

bool SCPI_ParamCharacters(scpi_t* c, const char** value, size_t* len, bool mandatory)
{
    if (!value || !len)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    *value = p.ptr;
    *len = size_t(p.len);
    return true;
}

bool SCPI_ParamCopyText(scpi_t* c, char* buffer, size_t buffer_len, size_t* copy_len, bool mandatory)
{
    if (!buffer || buffer_len == 0)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    if (p.type != SCPI_TOKEN_SINGLE_QUOTE_PROGRAM_DATA && p.type != SCPI_TOKEN_DOUBLE_QUOTE_PROGRAM_DATA) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    const char quote = p.ptr[0];
    size_t out = 0;
    for (int i = 1; i < p.len - 1 && out + 1 < buffer_len; i++) {
        buffer[out++] = p.ptr[i];
        if (p.ptr[i] == quote)
            i++; // the second of a doubled quote
    }
    buffer[out] = '\0';
    if (copy_len)
        *copy_len = out;
    return true;
}

bool SCPI_ParamArbitraryBlock(scpi_t* c, const char** value, size_t* len, bool mandatory)
{
    if (!value || !len)
        return false;
    scpi_parameter_t p;
    if (!SCPI_Parameter(c, &p, mandatory))
        return false;
    int offset, length;
    if (p.type != SCPI_TOKEN_ARBITRARY_BLOCK_PROGRAM_DATA || !scpiLex_BlockData(&p, &offset, &length)) {
        SCPI_ErrorPush(c, SCPI_ERROR_DATA_TYPE_ERROR);
        return false;
    }
    *value = p.ptr + offset;
    *len = size_t(length);
    return true;
}
