// System rows: reset, the whole record as a block, the system settings of
// the utility page and the factory serial number.
#include <cstdio>
#include <cstring>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/scpi_wfile.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
#include "communication/SCPI/commands/scpi_row_ids.h"

// The brightness steps of the back light, stored as their position.
static const int kBrightness[] = {30, 40, 50, 60, 70, 80, 90, 100};

static scpi_result_t reset(scpi_t* c, const scpi_row_t& row, int)
{
    ScpiInstrument& inst = scpi_row_instrument(c);
    inst.loadRecord(nullptr, 0); // the controller restores the factory set
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t configureQuery(scpi_t* c, const scpi_row_t&, int)
{
    HardWareInfo image;
    scpi_row_instrument(c).recordImage(&image);
    SCPI_ResultArbitraryBlock(c, &image, sizeof image);
    return SCPI_RES_OK;
}

static scpi_result_t configureSet(scpi_t*, const scpi_row_t&, int)
{
    scpi_wfile_arm(WF_CONFIG, 0, "sysConfigure");
    return SCPI_RES_OK;
}

static scpi_result_t languageQuery(scpi_t* c, const scpi_row_t&, int)
{
    const int lang = scpi_row_instrument(c).language();
    const char* name = lang == 0 ? scpi_list_language[0].name : scpi_list_language[1].name;
    SCPI_ResultCharacters(c, name, strlen(name));
    return SCPI_RES_OK;
}

static scpi_result_t brightnessSet(scpi_t* c, const scpi_row_t& row, int target)
{
    int32_t percent = 0;
    if (!SCPI_ParamInt(c, &percent, true))
        return SCPI_RES_ERR;
    for (int i = 0; i < int(sizeof kBrightness / sizeof kBrightness[0]); i++)
        if (kBrightness[i] == percent) {
            scpi_row_instrument(c).setValue(target, row.paramIndex, i);
            scpi_row_wait(c, row);
            return SCPI_RES_OK;
        }
    return SCPI_RES_ERR; // not a step of the table: -200 from the parser
}

static scpi_result_t brightnessQuery(scpi_t* c, const scpi_row_t&, int)
{
    const unsigned pos = scpi_row_instrument(c).record().BackLight;
    SCPI_ResultInt(c, pos < 8 ? kBrightness[pos] : kBrightness[7]);
    return SCPI_RES_OK;
}

// Characters as sent, without the quotes of string data.
static bool textParam(scpi_t* c, const char** text, size_t* len)
{
    if (!SCPI_ParamCharacters(c, text, len, true))
        return false;
    if (*len >= 2 && ((*text)[0] == '"' || (*text)[0] == '\'') && (*text)[*len - 1] == (*text)[0]) {
        ++*text;
        *len -= 2;
    }
    return true;
}

static scpi_result_t serialSet(scpi_t* c, const scpi_row_t&, int)
{
    const char* text = nullptr;
    size_t len = 0;
    if (!textParam(c, &text, &len))
        return SCPI_RES_ERR;
    // The serial number is part of the "*IDN?" reply and of the USB
    // identification: printable characters only (a line end inside it would
    // split the reply). A longer one is cut to the 31 characters it has room
    // for.
    if (len == 0) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    for (size_t i = 0; i < len; ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch < 0x20 || ch > 0x7E) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return SCPI_RES_ERR;
        }
    }
    scpi_row_instrument(c).setSerial(text, unsigned(len));
    return SCPI_RES_OK;
}

static scpi_result_t serialQuery(scpi_t* c, const scpi_row_t&, int)
{
    const std::string sn = scpi_row_instrument(c).serial();
    SCPI_ResultCharacters(c, sn.data(), sn.size());
    return SCPI_RES_OK;
}

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_system[] = {
    row(R_SYS_RST).waits(RW_SCREENS).formerPause(500).set(reset)
        .effect("restores the factory parameter set (as the factory-reset entry does) and applies it"),
    row(R_SYS_CONFIGURE).block().set(configureSet).query(configureQuery)
        .effect("query: the whole parameter record, 4536 bytes, as a definite-length block. Set: the next message "
                "must be exactly such a record (another length: -108); it replaces the settings"),
    row(R_SYS_PHASE_MODE).system().param(PARAM_INDEX_SYSPHASESYNC).choice(scpi_list_phase_mode)
        .reply(RF_NAME, SCPI_READ_SYS(PhaseSyncType)).waits(RW_APPLIED).effect("phase mode of the channels"),
    row(R_SYS_LANGUAGE).system().param(PARAM_INDEX_SYSLANGUAGE).special(scpi_list_language).reply(RF_NAME)
        .waits(RW_APPLIED).query(languageQuery).effect("language of the screens (a plain number: -224)"),
    row(R_SYS_NUMBER_FORMAT).system().param(PARAM_INDEX_SYSSEPARATOR).choice(scpi_list_number_format)
        .reply(RF_NAME, SCPI_READ_SYS(Separator)).waits(RW_APPLIED).effect("digit grouping of displayed numbers"),
    row(R_SYS_PICTURE_FORMAT).system().param(PARAM_INDEX_SYSPICFROMAT).choice(scpi_list_picture_format)
        .reply(RF_NAME, SCPI_READ_SYS(PicFormat)).waits(RW_APPLIED).effect("file format of screen captures"),
    row(R_SYS_BEEP).system().param(PARAM_INDEX_SYSBEEP).boolean().reply(RF_BOOL, SCPI_READ_SYS(Beep))
        .waits(RW_APPLIED).effect("key beep on/off"),
    row(R_SYS_BRIGHTNESS).system().param(PARAM_INDEX_SYSBACKLIGHT).integer().reply(RF_INT).waits(RW_APPLIED)
        .set(brightnessSet).query(brightnessQuery)
        .effect("back-light brightness in per cent: 30, 40, 50, 60, 70, 80, 90 or 100 (another value: -200, no "
                "change)"),
    row(R_SYS_SLEEP_TIME).system().param(PARAM_INDEX_SYSSCREENSAVE).choice(scpi_list_sleep_time)
        .reply(RF_NAME, SCPI_READ_SYS(Screensaver)).waits(RW_APPLIED).effect("screen saver delay"),
    row(R_SYS_FACTORY_SN).text().set(serialSet).query(serialQuery)
        .effect("the serial number: 1 or more printable characters, cut to 31 (empty or a control character: -224)"),
    kRowsEnd,
};
// clang-format on
