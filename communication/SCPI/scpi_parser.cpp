#include "communication/SCPI/scpi_parser.h"
#include <cstring>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_lexer.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_numconv.h"

static const char* const kDefaultIdn[4] = {"MANUFACTURER", "MODEL", "SERIAL", "01-01"};

void SCPI_Init(scpi_t* c)
{
    if (!c)
        return;
    for (int i = 0; i < 4; i++)
        if (!c->idn[i])
            c->idn[i] = kDefaultIdn[i];
    c->buffer.position = 0;
    c->output_count = 0;
    c->input_count = 0;
    c->cmd_error = false;
    c->param_list.cmd = nullptr;
    c->param_list.cmd_raw = {0, 0, nullptr};
    scpiLex_Init(&c->param_list.lex_state, nullptr, 0);
    c->path_len = 0;
    SCPI_ErrorInit(c);
    scpi_numconv_init();
}

size_t SCPI_WriteData(scpi_t* c, const char* data, size_t len)
{
    if (!c || !c->interface || !c->interface->write || !data || len == 0)
        return 0;
    return c->interface->write(c, data, len);
}

static void flush(scpi_t* c)
{
    if (c->interface && c->interface->flush)
        c->interface->flush(c);
}

int SCPI_DetectProgramMessageUnit(scpi_parser_state_t* state, const char* buffer, int len)
{
    lex_state_t lex;
    scpi_token_t tmp;
    scpiLex_Init(&lex, buffer, len);
    state->numberOfParameters = 0;
    state->termination = SCPI_MESSAGE_TERMINATION_NONE;

    scpiLex_WhiteSpace(&lex, &tmp);
    scpiLex_ProgramHeader(&lex, &state->programHeader);

    state->programData.type = SCPI_TOKEN_ALL_PROGRAM_DATA;
    state->programData.ptr = lex.pos;
    state->programData.len = 0;

    if (state->programHeader.len > 0 && scpiLex_WhiteSpace(&lex, &tmp) > 0) {
        // Program data: elements separated by commas. An element may be
        // empty ("1,,2"); the handler that needs it reports it missing.
        const char* start = lex.pos;
        const char* end = lex.pos;
        int count = 0;
        for (;;) {
            scpi_token_t element;
            scpiLex_ProgramData(&lex, &element);
            const bool empty = element.len == 0;
            scpiLex_WhiteSpace(&lex, &tmp);
            if (scpiLex_Comma(&lex, &tmp) > 0) {
                count++;
                end = lex.pos;
                scpiLex_WhiteSpace(&lex, &tmp);
                continue;
            }
            if (!empty || count > 0) {
                count++;
                end = empty ? end : element.ptr + element.len;
            }
            break;
        }
        state->programData.ptr = start;
        state->programData.len = int(end - start);
        state->numberOfParameters = count;
    }

    if (scpiLex_NewLine(&lex, &tmp) > 0) {
        state->termination = SCPI_MESSAGE_TERMINATION_NL;
    } else if (scpiLex_SemiColon(&lex, &tmp) > 0) {
        state->termination = SCPI_MESSAGE_TERMINATION_SEMICOLON;
    } else if (!scpiLex_IsEos(&lex)) {
        // Something that is neither data nor a terminator: the unit is
        // invalid. Skip it up to its end so that the next unit still runs.
        state->programHeader.type = SCPI_TOKEN_INVALID;
        while (!scpiLex_IsEos(&lex) && *lex.pos != ';' && *lex.pos != '\n' && *lex.pos != '\r')
            lex.pos++;
        if (scpiLex_NewLine(&lex, &tmp) > 0)
            state->termination = SCPI_MESSAGE_TERMINATION_NL;
        else if (scpiLex_SemiColon(&lex, &tmp) > 0)
            state->termination = SCPI_MESSAGE_TERMINATION_SEMICOLON;
    }
    return int(lex.pos - lex.buffer);
}

static bool isCommon(scpi_token_type_t t)
{
    return t == SCPI_TOKEN_COMMON_PROGRAM_HEADER || t == SCPI_TOKEN_COMMON_QUERY_PROGRAM_HEADER;
}

static bool isCompound(scpi_token_type_t t)
{
    return t == SCPI_TOKEN_COMPOUND_PROGRAM_HEADER || t == SCPI_TOKEN_COMPOUND_QUERY_PROGRAM_HEADER;
}

// IEEE 488.2 compound rule: a relative header after a compound header of the
// same message takes that header's path (up to and including its last ":").
// Common headers neither take nor change the path.
static bool composeHeader(scpi_t* c, const scpi_token_t* h, const char** out, int* outLen)
{
    if (isCommon(h->type) || h->ptr[0] == ':' || c->path_len <= 0) {
        *out = h->ptr;
        *outLen = h->len;
        return true;
    }
    if (c->path_len + h->len > int(sizeof c->header_storage))
        return false;
    memcpy(c->header_storage, c->path_storage, size_t(c->path_len));
    memcpy(c->header_storage + c->path_len, h->ptr, size_t(h->len));
    *out = c->header_storage;
    *outLen = c->path_len + h->len;
    return true;
}

static void rememberPath(scpi_t* c, const char* header, int len)
{
    int last = len - 1;
    while (last >= 0 && header[last] != ':')
        last--;
    const int pathLen = last + 1;
    if (pathLen > int(sizeof c->path_storage))
        return;
    if (pathLen > 0 && header != c->path_storage)
        memmove(c->path_storage, header, size_t(pathLen));
    c->path_len = pathLen;
}

// Set once by the worker before it starts.
static scpi_command_end_t g_commandEnd = nullptr;

void SCPI_SetCommandEndHook(scpi_command_end_t hook) { g_commandEnd = hook; }

static void processCommand(scpi_t* c)
{
    if (c->output_count > 0)
        SCPI_WriteData(c, ";", 1);
    c->cmd_error = false;
    c->output_count = 0;
    c->input_count = 0;

    const scpi_command_t* cmd = c->param_list.cmd;
    if (cmd->callback && cmd->callback(c) != SCPI_RES_OK && !c->cmd_error)
        SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR);
    if (g_commandEnd)
        g_commandEnd(c);

    // Parameters the handler left unread.
    lex_state_t* s = &c->param_list.lex_state;
    scpi_token_t tmp;
    scpiLex_WhiteSpace(s, &tmp);
    if (!scpiLex_IsEos(s) && !c->cmd_error)
        SCPI_ErrorPush(c, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
}

static void endOfMessage(scpi_t* c)
{
    if (c->output_count > 0)
        SCPI_WriteData(c, "\r\n", 2);
    c->output_count = 0;
    c->path_len = 0;
}

int SCPI_Parse(scpi_t* c, const char* data, int len)
{
    if (!c)
        return -1;
    if (!data || len < 0)
        len = 0;
    c->output_count = 0;
    c->path_len = 0;

    int result = 0;
    scpi_parser_state_t* state = &c->parser_state;
    while (len > 0) {
        const int r = SCPI_DetectProgramMessageUnit(state, data, len);
        const scpi_token_t& h = state->programHeader;
        if (h.type == SCPI_TOKEN_INVALID) {
            SCPI_ErrorPush(c, SCPI_ERROR_INVALID_CHARACTER);
            result = 0;
        } else if (h.len > 0) {
            const char* header = nullptr;
            int headerLen = 0;
            const scpi_command_t* cmd = nullptr;
            if ((isCommon(h.type) || isCompound(h.type)) && composeHeader(c, &h, &header, &headerLen))
                cmd = SCPI_FindCommand(c->cmdlist, header, headerLen);
            if (cmd) {
                c->param_list.cmd = cmd;
                scpiLex_Init(&c->param_list.lex_state, state->programData.ptr, state->programData.len);
                c->param_list.cmd_raw.data = header;
                c->param_list.cmd_raw.length = headerLen;
                c->param_list.cmd_raw.position = 0;
                processCommand(c);
                if (isCompound(h.type))
                    rememberPath(c, header, headerLen);
                result = 1;
            } else {
                SCPI_ErrorPush(c, SCPI_ERROR_UNDEFINED_HEADER);
                result = 0;
            }
        }
        if (state->termination == SCPI_MESSAGE_TERMINATION_NL)
            endOfMessage(c);
        if (r <= 0 || r >= len)
            break;
        data += r;
        len -= r;
    }
    endOfMessage(c);
    flush(c);
    c->param_list.cmd = nullptr;
    c->param_list.cmd_raw = {0, 0, nullptr};
    scpiLex_Init(&c->param_list.lex_state, nullptr, 0);
    return result;
}

int SCPI_Input(scpi_t* c, const char* data, int len)
{
    if (!c || len < 0 || (len > 0 && !data) || !c->buffer.data)
        return -1;
    if (len > SCPI_INPUT_MAX_MESSAGE || len > c->buffer.length - 1) {
        // Dropped whole, but the client learns why its query stays
        // unanswered.
        SCPI_ErrorPush(c, SCPI_ERROR_INPUT_BUFFER_OVERRUN);
        return -1;
    }

    c->buffer.position = 0;
    c->buffer.data[0] = '\0';
    if (len == 0)
        return SCPI_Parse(c, c->buffer.data, c->buffer.position);

    memcpy(c->buffer.data, data, size_t(len));
    c->buffer.position = len;
    c->buffer.data[len] = '\0';

    int result = 0;
    int total = 0;
    for (;;) {
        const int unit =
            SCPI_DetectProgramMessageUnit(&c->parser_state, c->buffer.data + total, c->buffer.position - total);
        if (unit <= 0)
            break;
        total += unit;
        if (c->parser_state.termination == SCPI_MESSAGE_TERMINATION_NL) {
            result = SCPI_Parse(c, c->buffer.data, total);
            memmove(c->buffer.data, c->buffer.data + total, size_t(c->buffer.position - total));
            c->buffer.position -= total;
            c->buffer.data[c->buffer.position] = '\0';
            total = 0;
        } else if (c->parser_state.programHeader.type == SCPI_TOKEN_UNKNOWN &&
                   c->parser_state.termination == SCPI_MESSAGE_TERMINATION_NONE) {
            break;
        }
        if (total >= c->buffer.position)
            break;
    }
    return result;
}
