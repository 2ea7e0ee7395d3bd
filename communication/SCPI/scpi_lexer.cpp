#include "communication/SCPI/scpi_lexer.h"

void scpiLex_Init(lex_state_t* state, const char* text, int len)
{
    state->buffer = text;
    state->pos = text;
    state->len = (text && len > 0) ? len : 0;
}

int scpiLex_Remaining(const lex_state_t* state) { return int((state->buffer + state->len) - state->pos); }

bool scpiLex_IsEos(const lex_state_t* state) { return scpiLex_Remaining(state) <= 0; }

// IEEE 488.2 white space: every control byte and the blank, except the line
// feed. The carriage return belongs to the terminator here (LF, CR, CR LF).
bool scpiLex_IsWs(unsigned char c) { return c <= 0x20 && c != '\n' && c != '\r'; }

bool scpiLex_IsAlpha(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool scpiLex_IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

static bool isMnemonicChar(unsigned char c) { return scpiLex_IsAlpha(c) || scpiLex_IsDigit(c) || c == '_'; }

static unsigned char peek(const lex_state_t* s, int ahead = 0) { return static_cast<unsigned char>(s->pos[ahead]); }

static bool has(const lex_state_t* s, int n) { return scpiLex_Remaining(s) >= n; }

static int finish(lex_state_t* s, scpi_token_t* t, const char* start, scpi_token_type_t type)
{
    t->ptr = start;
    t->len = int(s->pos - start);
    t->type = t->len > 0 ? type : SCPI_TOKEN_UNKNOWN;
    return t->len;
}

static int fail(lex_state_t* s, scpi_token_t* t, const char* start)
{
    s->pos = start;
    t->ptr = start;
    t->len = 0;
    t->type = SCPI_TOKEN_UNKNOWN;
    return 0;
}

int scpiLex_WhiteSpace(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    while (has(s, 1) && scpiLex_IsWs(peek(s)))
        s->pos++;
    return finish(s, t, start, SCPI_TOKEN_WS);
}

static int single(lex_state_t* s, scpi_token_t* t, char c, scpi_token_type_t type)
{
    const char* start = s->pos;
    if (has(s, 1) && s->pos[0] == c)
        s->pos++;
    return finish(s, t, start, type);
}

int scpiLex_Comma(lex_state_t* s, scpi_token_t* t) { return single(s, t, ',', SCPI_TOKEN_COMMA); }

int scpiLex_SemiColon(lex_state_t* s, scpi_token_t* t) { return single(s, t, ';', SCPI_TOKEN_SEMICOLON); }

int scpiLex_NewLine(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (has(s, 1) && s->pos[0] == '\r')
        s->pos++;
    if (has(s, 1) && s->pos[0] == '\n')
        s->pos++;
    return finish(s, t, start, SCPI_TOKEN_NL);
}

static int skipMnemonic(lex_state_t* s)
{
    const char* start = s->pos;
    if (has(s, 1) && scpiLex_IsAlpha(peek(s))) {
        s->pos++;
        while (has(s, 1) && isMnemonicChar(peek(s)))
            s->pos++;
    }
    return int(s->pos - start);
}

int scpiLex_ProgramHeader(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (!has(s, 1))
        return fail(s, t, start);

    if (s->pos[0] == '*') {
        s->pos++;
        if (skipMnemonic(s) == 0)
            return finish(s, t, start, SCPI_TOKEN_INCOMPLETE_COMMON_PROGRAM_HEADER);
        if (has(s, 1) && s->pos[0] == '?') {
            s->pos++;
            return finish(s, t, start, SCPI_TOKEN_COMMON_QUERY_PROGRAM_HEADER);
        }
        return finish(s, t, start, SCPI_TOKEN_COMMON_PROGRAM_HEADER);
    }

    bool afterColon = false;
    if (s->pos[0] == ':') {
        s->pos++;
        afterColon = true;
    }
    for (;;) {
        if (skipMnemonic(s) == 0) {
            if (afterColon)
                return finish(s, t, start, SCPI_TOKEN_INCOMPLETE_COMPOUND_PROGRAM_HEADER);
            return fail(s, t, start);
        }
        afterColon = false;
        if (has(s, 1) && s->pos[0] == ':') {
            s->pos++;
            afterColon = true;
            continue;
        }
        break;
    }
    if (has(s, 1) && s->pos[0] == '?') {
        s->pos++;
        return finish(s, t, start, SCPI_TOKEN_COMPOUND_QUERY_PROGRAM_HEADER);
    }
    return finish(s, t, start, SCPI_TOKEN_COMPOUND_PROGRAM_HEADER);
}

static int skipDigits(lex_state_t* s)
{
    const char* start = s->pos;
    while (has(s, 1) && scpiLex_IsDigit(peek(s)))
        s->pos++;
    return int(s->pos - start);
}

// Suffix program data: an optional "/", a letter, then letters, digits,
// "." or "/" ("kHZ", "Vpp", "dBm", "m/s").
static int skipSuffix(lex_state_t* s)
{
    const char* start = s->pos;
    if (has(s, 1) && s->pos[0] == '/')
        s->pos++;
    if (!(has(s, 1) && scpiLex_IsAlpha(peek(s)))) {
        s->pos = start;
        return 0;
    }
    while (has(s, 1) && (isMnemonicChar(peek(s)) || s->pos[0] == '.' || s->pos[0] == '/'))
        s->pos++;
    return int(s->pos - start);
}

int scpiLex_NumberLength(const char* text, int len)
{
    lex_state_t st;
    scpiLex_Init(&st, text, len);
    lex_state_t* s = &st;
    if (has(s, 1) && (s->pos[0] == '+' || s->pos[0] == '-'))
        s->pos++;
    int mantissa = skipDigits(s);
    if (has(s, 1) && s->pos[0] == '.') {
        s->pos++;
        mantissa += skipDigits(s);
    }
    if (mantissa == 0)
        return 0;

    // Exponent, only taken when it is complete; "1E" leaves "E" as a suffix.
    if (has(s, 1) && (s->pos[0] == 'e' || s->pos[0] == 'E')) {
        const char* e = s->pos;
        s->pos++;
        if (has(s, 1) && (s->pos[0] == '+' || s->pos[0] == '-'))
            s->pos++;
        if (skipDigits(s) == 0)
            s->pos = e;
    }
    return int(s->pos - s->buffer);
}

int scpiLex_DecimalNumericProgramData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    const int number = scpiLex_NumberLength(s->pos, scpiLex_Remaining(s));
    if (number == 0)
        return fail(s, t, start);
    s->pos += number;

    // A suffix may follow directly or after white space.
    const char* numberEnd = s->pos;
    while (has(s, 1) && scpiLex_IsWs(peek(s)))
        s->pos++;
    if (skipSuffix(s) > 0)
        return finish(s, t, start, SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA_WITH_SUFFIX);
    s->pos = numberEnd;
    return finish(s, t, start, SCPI_TOKEN_DECIMAL_NUMERIC_PROGRAM_DATA);
}

static bool isBaseDigit(unsigned char c, int base)
{
    switch (base) {
    case 16: return scpiLex_IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    case 8: return c >= '0' && c <= '7';
    default: return c == '0' || c == '1';
    }
}

int scpiLex_NondecimalNumericData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (!has(s, 2) || s->pos[0] != '#')
        return fail(s, t, start);
    int base;
    scpi_token_type_t type;
    switch (s->pos[1]) {
    case 'H':
    case 'h':
        base = 16;
        type = SCPI_TOKEN_HEXNUM;
        break;
    case 'Q':
    case 'q':
        base = 8;
        type = SCPI_TOKEN_OCTNUM;
        break;
    case 'B':
    case 'b':
        base = 2;
        type = SCPI_TOKEN_BINNUM;
        break;
    default: return fail(s, t, start);
    }
    s->pos += 2;
    const char* digits = s->pos;
    while (has(s, 1) && isBaseDigit(peek(s), base))
        s->pos++;
    if (s->pos == digits)
        return fail(s, t, start);
    return finish(s, t, start, type);
}

int scpiLex_CharacterProgramData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    skipMnemonic(s);
    return finish(s, t, start, SCPI_TOKEN_PROGRAM_MNEMONIC);
}

int scpiLex_StringProgramData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (!has(s, 1) || (s->pos[0] != '"' && s->pos[0] != '\''))
        return fail(s, t, start);
    const char quote = s->pos[0];
    s->pos++;
    for (;;) {
        if (!has(s, 1))
            return fail(s, t, start); // no closing quote
        if (s->pos[0] == quote) {
            if (has(s, 2) && s->pos[1] == quote) {
                s->pos += 2; // doubled quote stands for one
                continue;
            }
            s->pos++;
            break;
        }
        s->pos++;
    }
    return finish(s, t, start,
                  quote == '"' ? SCPI_TOKEN_DOUBLE_QUOTE_PROGRAM_DATA : SCPI_TOKEN_SINGLE_QUOTE_PROGRAM_DATA);
}

bool scpiLex_BlockData(const scpi_token_t* t, int* offset, int* length)
{
    if (!t || !t->ptr || t->len < 2 || t->ptr[0] != '#')
        return false;
    const unsigned char n = static_cast<unsigned char>(t->ptr[1]);
    if (n < '1' || n > '9')
        return false;
    const int digits = n - '0';
    if (t->len < 2 + digits)
        return false;
    long long count = 0;
    for (int i = 0; i < digits; i++) {
        const unsigned char c = static_cast<unsigned char>(t->ptr[2 + i]);
        if (!scpiLex_IsDigit(c))
            return false;
        count = count * 10 + (c - '0'); // at most 9 digits: no overflow
    }
    if (count != t->len - 2 - digits)
        return false;
    *offset = 2 + digits;
    *length = int(count);
    return true;
}

int scpiLex_ArbitraryBlockProgramData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    // "#0" (indefinite length) is not accepted.
    if (!has(s, 2) || s->pos[0] != '#' || peek(s, 1) < '1' || peek(s, 1) > '9')
        return fail(s, t, start);
    const int digits = peek(s, 1) - '0';
    s->pos += 2;
    if (!has(s, digits))
        return fail(s, t, start);
    long long count = 0;
    for (int i = 0; i < digits; i++) {
        const unsigned char c = peek(s, i);
        if (!scpiLex_IsDigit(c))
            return fail(s, t, start);
        count = count * 10 + (c - '0');
    }
    s->pos += digits;
    // The data must lie inside the received text.
    if (count > scpiLex_Remaining(s))
        return fail(s, t, start);
    s->pos += count;
    return finish(s, t, start, SCPI_TOKEN_ARBITRARY_BLOCK_PROGRAM_DATA);
}

int scpiLex_ProgramExpression(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (!has(s, 1) || s->pos[0] != '(')
        return fail(s, t, start);
    int depth = 0;
    while (has(s, 1)) {
        const char c = s->pos[0];
        s->pos++;
        if (c == '(') {
            depth++;
        } else if (c == ')') {
            if (--depth == 0)
                return finish(s, t, start, SCPI_TOKEN_PROGRAM_EXPRESSION);
        } else if (c == '\n' || c == '\r' || c == ';') {
            break; // an expression never runs across a message unit
        }
    }
    return fail(s, t, start);
}

int scpiLex_ProgramData(lex_state_t* s, scpi_token_t* t)
{
    const char* start = s->pos;
    if (!has(s, 1))
        return fail(s, t, start);
    const unsigned char c = peek(s);
    if (c == '#') {
        if (scpiLex_NondecimalNumericData(s, t) > 0)
            return t->len;
        return scpiLex_ArbitraryBlockProgramData(s, t);
    }
    if (c == '"' || c == '\'')
        return scpiLex_StringProgramData(s, t);
    if (c == '(')
        return scpiLex_ProgramExpression(s, t);
    if (scpiLex_IsAlpha(c))
        return scpiLex_CharacterProgramData(s, t);
    return scpiLex_DecimalNumericProgramData(s, t);
}
