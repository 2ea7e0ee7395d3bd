#pragma once
// Tags of the described rows of the command table, one block per area.
#include <cstring>
#include "communication/SCPI/commands/scpi_rows.h"

#define A_(area, n) SCPI_ROW_ID(SCPI_AREA_##area, n)

enum scpi_row_id_system {
    R_SYS_RST = A_(SYSTEM, 1),
    R_SYS_CONFIGURE,
    R_SYS_PHASE_MODE,
    R_SYS_LANGUAGE,
    R_SYS_NUMBER_FORMAT,
    R_SYS_PICTURE_FORMAT,
    R_SYS_BEEP,
    R_SYS_BRIGHTNESS,
    R_SYS_SLEEP_TIME,
    R_SYS_FACTORY_SN,
};

enum scpi_row_id_output {
    R_OUT_OUTPUT = A_(OUTPUT, 1),
    R_OUT_INVERSION,
    R_OUT_SYNC,
    R_OUT_SYNC_INVERSION,
    R_OUT_LIMIT_ENABLE,
    R_OUT_LIMIT_LOWER,
    R_OUT_LIMIT_UPPER,
    R_OUT_LOAD,
};

enum scpi_row_id_couple {
    R_CPL_MERGE = A_(COUPLE, 1),
    R_CPL_FREQ,
    R_CPL_FREQ_SCALE,
    R_CPL_FREQ_DEV,
    R_CPL_AMPL,
    R_CPL_AMPL_SCALE,
    R_CPL_AMPL_DEV,
    R_CPL_PHASE,
    R_CPL_PHASE_SCALE,
    R_CPL_PHASE_DEV,
};

enum scpi_row_id_base {
    R_BASE_WAVE = A_(BASE, 1),
    R_BASE_FREQ,
    R_BASE_PERIOD,
    R_BASE_PHASE,
    R_BASE_AMPL,
    R_BASE_AMPL_UNIT,
    R_BASE_OFFSET,
    R_BASE_HIGH,
    R_BASE_LOW,
    R_BASE_DUTY,
    R_BASE_PWIDTH,
    R_RAMP_SYMMETRY,
    R_PULSE_RISE,
    R_PULSE_FALL,
    R_HARM_ORDER,
    R_HARM_TYPE,
    R_HARM_USER_TYPE,
    R_HARM_SN_AMPL,
    R_HARM_SN_PHASE,
    R_BASE_ARB,
    R_MOD_ARB,
    R_ARB_MODE,
    R_ARB_FILTER,
    R_NS,
    R_NS_UNIT,
    R_NS_SNR,
};

enum scpi_row_id_modes {
    R_MODE = A_(MODES, 1),
    R_TRIG_SOURCE,
    R_OSK_TRIG_SOURCE,
    R_TRIG_OUTPUT,
    R_SWEEP_TRIGGER,
    R_BURST_TRIGGER,
    R_MOD_TYPE,
    R_MOD_IQMAP,
    R_PNCODE,
    R_MOD_WAVE,
    R_MOD_SOURCE,
    R_MOD_FREQ,
    R_MOD_RATIO,
    R_MOD_BITRATE,
    R_MOD_DEPTH,
    R_FM_DEV,
    R_PM_DEV,
    R_PSK_PHASE,
    R_FSK_FREQ,
    R_OSK_TIME,
    R_PWM_DEV,
    R_SWEEP_TYPE,
    R_SWEEP_START,
    R_SWEEP_STOP,
    R_SWEEP_TIME,
    R_SWEEP_STEPS,
    R_BURST_TYPE,
    R_BURST_PERIOD,
    R_BURST_CYCLES,
    R_BURST_PHASE,
    R_BURST_GATE_POLARITY,
};

enum scpi_row_id_files {
    R_WARB_MOD = A_(FILES, 1),
    R_WARB_CARRIER,
    R_WFREQLIST,
};

#undef A_

// A field of the record as a number. The record may come from outside (a
// received block, the EEPROM), so a flag is read as its byte: any value
// other than 0 is set, and no byte is ever loaded as an invalid bool.
template <class T>
inline double scpi_field(const T& v)
{
    return double(v);
}
inline double scpi_field(const bool& v)
{
    unsigned char b;
    std::memcpy(&b, &v, 1);
    return b ? 1 : 0;
}

// Shorthands for the descriptors.
#define SCPI_READ_CH(field) [](const HardWareInfo& r, int t) -> double { return scpi_field(r.PDT[t].field); }
#define SCPI_READ_SYS(field) [](const HardWareInfo& r, int) -> double { return scpi_field(r.field); }
#define SCPI_READ_PAIR(field)                                                                                          \
    [](const HardWareInfo& r, int t) -> double { return scpi_field(scpi_row_channel(r, t).field); }
