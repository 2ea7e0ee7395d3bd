// Arming rows of the data transfers: the next message after one of these is
// the content of an arb or frequency-list file for a channel.
#include <cstdio>
#include <cstring>
#include <string>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_wfile.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
#include "communication/SCPI/commands/scpi_row_ids.h"
#include "platform/logging.h"

// The file name of an arming command: string data or plain characters. It
// becomes a file in the instrument's storage folder, so it must be a plain
// name: no folder part, not "." or "..".
static bool fileName(scpi_t* c, std::string* name, const char* missingLog)
{
    const char* text = nullptr;
    size_t len = 0;
    if (!SCPI_ParamCharacters(c, &text, &len, false)) {
        qCCritical(lcScpi, "%s", missingLog);
        SCPI_ErrorPush(c, SCPI_ERROR_MISSING_PARAMETER);
        return false;
    }
    if (len >= 2 && (text[0] == '"' || text[0] == '\'') && text[len - 1] == text[0]) {
        text++;
        len -= 2;
    }
    name->assign(text, len);
    if (name->empty() || *name == "." || *name == ".." || name->find('/') != std::string::npos ||
        name->find('\\') != std::string::npos || name->find('\0') != std::string::npos || name->size() > 99) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    return true;
}

static bool armChannel(scpi_t* c, int* ch)
{
    int32_t n[1];
    scpi_row_numbers(c, n, 1);
    if (n[0] < 1 || n[0] > 4) {
        SCPI_ErrorPush(c, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return false;
    }
    *ch = n[0] - 1;
    return true;
}

static scpi_result_t armArb(scpi_t* c, const scpi_row_t& row, int)
{
    int ch = 0;
    std::string name;
    const bool base = row.id == R_WARB_CARRIER;
    if (!armChannel(c, &ch) ||
        !fileName(c, &name, base ? "get base arb file name false" : "get mod arb file name false"))
        return SCPI_RES_ERR;
    scpi_wfile_arm(base ? WF_BaseArb : WF_ModArb, ch, name.c_str());
    return SCPI_RES_OK;
}

static scpi_result_t armList(scpi_t* c, const scpi_row_t& row, int)
{
    int ch = 0;
    std::string name;
    if (!armChannel(c, &ch) || !fileName(c, &name, "get freqlist file name false"))
        return SCPI_RES_ERR;
    scpi_wfile_arm(WF_LIST, ch, name.c_str());
    // A list plays in the list sweep: select it now, so the list that
    // follows is played as soon as it has arrived.
    ScpiInstrument& inst = scpi_row_instrument(c);
    const CH_DATA& d = inst.record().PDT[ch];
    if (d.SweepType != ST_LIST)
        inst.setModeIndex(ch, 2, 3);
    else if (workModeOf(d.WorkMode) != 2)
        inst.modeSelected(ch, 2);
    else
        return SCPI_RES_OK;
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_files[] = {
    row(R_WARB_MOD).text().set(armArb)
        .effect("file name (WARB number: channel 1 to 4, others -108); the next message is the modulating arb file, "
                "stored under that name and played"),
    row(R_WARB_CARRIER).text().set(armArb)
        .effect("file name; the next message is the carrier arb file, stored under that name and played"),
    row(R_WFREQLIST).text().waits(RW_SCREENS).formerPause(1).set(armList)
        .effect("file name; selects the list sweep, and the next message is the frequency list, stored and played"),
    kRowsEnd,
};
// clang-format on
