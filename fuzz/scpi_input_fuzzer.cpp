// Fuzz target: arbitrary bytes as one remote message.
//
// Each input goes to SCPI_Input on the program's own context (over the test
// command table, whose handlers read every kind of parameter and write every
// kind of result), then to SCPI_Parse directly from a heap copy of exactly
// its size (and again without its final newline), so that any read past the
// message is caught by AddressSanitizer.
// Afterwards two fixed queries must still be answered exactly: no input may
// leave the interpreter in a state that breaks the next message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "tests/scpi/scpi_test_table.h"

static char g_response[1 << 16];
static size_t g_responseLen = 0;
static bool g_responseOverflow = false;

static int collect(const char* data, int len)
{
    if (len < 0)
        abort();
    if (g_responseLen + size_t(len) > sizeof g_response) {
        g_responseOverflow = true;
        return 0;
    }
    memcpy(g_response + g_responseLen, data, size_t(len));
    g_responseLen += size_t(len);
    return len;
}

static void expectReply(const char* message, const char* reply)
{
    g_responseLen = 0;
    SCPI_Input(&scpi_context, message, int(strlen(message)));
    if (g_responseLen != strlen(reply) || memcmp(g_response, reply, g_responseLen) != 0) {
        fprintf(stderr, "interpreter broken: \"%s\" answered \"%.*s\"\n", message, int(g_responseLen), g_response);
        abort();
    }
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scpi_context.cmdlist = scpi_test_commands;
    SCPI_Init(&scpi_context);
    SCPI_SetResponseSink(collect);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Start every input from the same state so that findings reproduce.
    SCPI_ErrorClear(&scpi_context);
    for (int r = 0; r < SCPI_REG_COUNT; r++)
        scpi_context.registers[r] = 0;
    Sys_ErrorClear();
    scpi_test_record.clear();
    g_responseLen = 0;
    g_responseOverflow = false;

    const int len = size > 65536 ? 65536 : int(size);
    char* copy = static_cast<char*>(malloc(len > 0 ? size_t(len) : 1));
    if (len > 0)
        memcpy(copy, data, size_t(len));

    const int r = SCPI_Input(&scpi_context, copy, len);
    if (len > SCPI_INPUT_MAX_MESSAGE && (r != -1 || g_responseLen != 0))
        abort(); // an over-long message must be refused untouched

    // The same bytes through the parser directly, without the length limit,
    // and once more without the final terminator, so that every kind of data
    // also meets the very end of its buffer.
    SCPI_Parse(&scpi_context, copy, len);
    int trimmed = len;
    while (trimmed > 0 && (copy[trimmed - 1] == '\n' || copy[trimmed - 1] == '\r'))
        trimmed--;
    if (trimmed > 0 && trimmed < len) {
        char* exact = static_cast<char*>(malloc(size_t(trimmed)));
        memcpy(exact, copy, size_t(trimmed));
        SCPI_Parse(&scpi_context, exact, trimmed);
        free(exact);
    }
    free(copy);

    if (SCPI_ErrorCount(&scpi_context) > SCPI_ERROR_QUEUE_SIZE || Sys_ErrorCount() > SYS_ERROR_STACK_SIZE)
        abort();

    expectReply("TEST:TAG?\n", "42\r\n");
    expectReply("*IDN?;:CHAN2:BAS:FREQ 1kHZ;FREQ?\n",
                "VELTRIX Technologies,ORNAV96T,noserial,1.09.0018;1.000000e+03 \r\n");
    return 0;
}
