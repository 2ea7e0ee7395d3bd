#include "communication/scpi_msg_block.h"
#include "communication/SCPI/scpi_match.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The headers of the commands that arm a data transfer.
bool armingHeader(const char* h, size_t n)
{
    static const char* const kArming[] = {"WARB#:CARRier", "WARB#:MODulate",   "WFREQLIST#",
                                          "WFILE",         "SYSTem:CONFigure", "DIGital:DATa"};
    for (const char* p : kArming)
        if (SCPI_Match(p, h, int(n)))
            return true;
    return false;
}

} // namespace

scpi_arming_block_form scpi_msg_find_arming_block(const char* msg, size_t len, scpi_arming_block_t* out)
{
    size_t i = 0;
    while (i < len && blank(msg[i]))
        ++i;
    const size_t head = i;
    // A header is short: a long run of other bytes (a data message) is no
    // command and is not scanned to its end.
    while (i < len && i - head <= 64 && !blank(msg[i]) && msg[i] != ';' && msg[i] != '#' && msg[i] != ',' &&
           msg[i] != '"')
        ++i;
    if (i == head || i - head > 64 || !armingHeader(msg + head, i - head))
        return SCPI_ARM_BLOCK_NONE;
    const size_t headerEnd = i;

    // The first '#' outside quoted names starts the block; a line end or a
    // ';' before it means the data comes as a message of its own.
    char quote = 0;
    size_t hash = len;
    for (; i < len; ++i) {
        const char c = msg[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '#') {
            hash = i;
            break;
        } else if (c == '\n' || c == ';') {
            return SCPI_ARM_BLOCK_NONE;
        }
    }
    if (hash == len)
        return SCPI_ARM_BLOCK_NONE;

    // The block follows the name after a comma, or the header after blanks.
    size_t cmdEnd = hash;
    while (cmdEnd > headerEnd && blank(msg[cmdEnd - 1]))
        --cmdEnd;
    if (cmdEnd > headerEnd && msg[cmdEnd - 1] == ',')
        --cmdEnd;
    else if (cmdEnd != headerEnd || cmdEnd == hash)
        return SCPI_ARM_BLOCK_BAD;

    // "#", a digit n of 1..9, n digits of length, then exactly that many bytes.
    if (hash + 2 > len || msg[hash + 1] < '1' || msg[hash + 1] > '9')
        return SCPI_ARM_BLOCK_BAD;
    const size_t digits = size_t(msg[hash + 1] - '0');
    if (hash + 2 + digits > len)
        return SCPI_ARM_BLOCK_BAD;
    size_t length = 0;
    for (size_t d = 0; d < digits; ++d) {
        const char c = msg[hash + 2 + d];
        if (c < '0' || c > '9')
            return SCPI_ARM_BLOCK_BAD;
        length = length * 10 + size_t(c - '0');
    }
    const size_t data = hash + 2 + digits;
    if (length > len - data)
        return SCPI_ARM_BLOCK_BAD;

    // After the block: blanks and the line end, or ";" and more commands.
    size_t r = data + length;
    while (r < len && blank(msg[r]))
        ++r;
    if (r < len && msg[r] != ';')
        return SCPI_ARM_BLOCK_BAD;
    out->commandLen = cmdEnd;
    out->data = msg + data;
    out->length = length;
    out->rest = r < len ? msg + r + 1 : msg + len;
    out->restLen = r < len ? len - r - 1 : 0;
    return SCPI_ARM_BLOCK_OK;
}
