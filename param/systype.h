#pragma once
// Shared enumerations of the instrument: channel identifiers, work modes and
// their sub-kinds, waveform kinds and the codes the FPGA understands.
#include <cstdint>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef int32_t i32;

enum CH_ID : int32_t {
    CH1 = 0,
    CH2 = 1,
    CH3 = 2,
    CH4 = 3,
    CH_Total = 4,
    COUPLE12 = 4,
    COUPLE34 = 5,
    CH_SYS = 6,
    CH_DIGITAL = 7,
    CH_COUNTER = 8,
};

// Work mode in bits 12..13; the low bits carry the kind within the mode.
enum WORK_MODE : uint32_t {
    WORK_BASE = 0,
    WORK_MODULATION = 0x1000,
    WORK_SCAN = 0x2000,
    WORK_BURST = 0x3000,
};

// Class of the modulated quantity, bits 6..7 of a MOD_Type.
enum MOD_PARAM_TYPE : uint32_t {
    MP_OTHER = 0,
    MP_AMPL = 0x40,
    MP_PHASE = 0x80,
    MP_FREQ = 0xC0,
};

enum MOD_Type : uint32_t {
    MT_AM = WORK_MODULATION + MP_AMPL + 0,
    MT_BAM = WORK_MODULATION + MP_AMPL + 1,
    MT_QAM = WORK_MODULATION + MP_AMPL + 2,
    MT_ASK = WORK_MODULATION + MP_AMPL + 3,
    MT_FM = WORK_MODULATION + MP_FREQ + 4,
    MT_FSK = WORK_MODULATION + MP_FREQ + 5,
    MT_3FSK = WORK_MODULATION + MP_FREQ + 6,
    MT_4FSK = WORK_MODULATION + MP_FREQ + 7,
    MT_PM = WORK_MODULATION + MP_PHASE + 8,
    MT_PSK = WORK_MODULATION + MP_PHASE + 9,
    MT_BPSK = WORK_MODULATION + MP_PHASE + 10,
    MT_QPSK = WORK_MODULATION + MP_PHASE + 11,
    MT_OSK = WORK_MODULATION + MP_OTHER + 12,
    MT_PWM = WORK_MODULATION + MP_OTHER + 13,
    MT_SUM = WORK_MODULATION + MP_OTHER + 14,
    MT_TOTAL = WORK_MODULATION + MP_OTHER + 15,
};

enum SWEEP_Type : uint32_t {
    ST_LINE = WORK_SCAN + 0,
    ST_LOG = WORK_SCAN + 1,
    ST_STEP = WORK_SCAN + 2,
    ST_LIST = WORK_SCAN + 3,
    ST_TOTAL = WORK_SCAN + 4,
};

enum BURST_Type : uint32_t {
    BT_NCYC = WORK_BURST + 0,
    BT_GATE = WORK_BURST + 1,
    BT_INFINIT = WORK_BURST + 2,
    BT_TOTAL = WORK_BURST + 3,
};

// Work mode (0..3) of any mode or sub-kind value.
inline constexpr uint32_t workModeOf(uint32_t kind) { return (kind >> 12) & 3; }
// Dense modulation index 0..14 of a MOD_Type.
inline constexpr uint32_t modIndexOf(uint32_t modType) { return modType & 63; }

enum BASE_WAVE : uint32_t {
    BASE_Sine = 0,
    BASE_Square = 1,
    BASE_Ramp = 2,
    BASE_Pulse = 3,
    BASE_Arb = 4,
    BASE_Harmonic = 5,
    BASE_Noise = 6,
    BASE_DC = 7,
    BASE_Prbs = 8,
    BASE_Userdef = 9,
    BASE_Unknown = 10,
};

enum MOD_WAVE : int32_t {
    Mod_Internal = 0,
    Mod_Sine = 0,
    Mod_Square = 1,
    Mod_UpRamp = 2,
    Mod_DnRamp = 3,
    Mod_Noise = 4,
    Mod_Arb = 5,
    Mod_EXT = 6,
};

enum HARMNIC_Type : uint8_t {
    HARMNIC_TYPE_ODD = 0,
    HARMNIC_TYPE_EVEN = 1,
    HARMNIC_TYPE_ALL = 2,
    HARMNIC_TYPE_USER = 3,
};

enum MOD_TRIG_TYPE {
    MTT_IN = 0,
    MTT_Rise = 1,
    MTT_Fall = 2,
    MTT_Manual = 3,
};

// Values of a channel's trigger-source field (equal to MOD_TRIG_TYPE).
enum {
    TRIGSOURCE_INNER = 0,
    TRIGSOURCE_EXTUP = 1,
    TRIGSOURCE_EXTDOWN = 2,
    TRIGSOURCE_HANDL = 3,
};

enum POWERON_SET {
    POWERON_FACTORY = 0,
    POWERON_LAST = 1,
    POWERON_PRESET1 = 2,
    POWERON_PRESET2 = 3,
    POWERON_PRESET3 = 4,
    POWERON_PRESET4 = 5,
    POWERON_PRESET5 = 6,
};

enum storage_place_t : uint8_t {
    STORAGE_LOCAL = 0,
    STORAGE_USER = 1,
    STORAGE_EXTERNAL = 2,
};

enum WF_type {
    WF_None = 0,
    WF_Cal = 1,
    WF_ModArb = 2,
    WF_BaseArb = 3,
    WF_LIST = 4,
    WF_CONFIG = 5,
    WF_DIGITALDATA = 6,
};

// Codes written into the FPGA.
enum FPGA_BASE_WAVE_TYPE {
    FPGA_BASE_SINE = 0,
    FPGA_BASE_PULSE = 1,
    FPGA_BASE_NOISE = 2,
    FPGA_BASE_ARB = 3,
    FPGA_BASE_PRBS = 4,
    FPGA_BASE_DC = 5,
    FPGA_BASE_TRI = 6,
    FPGA_BASE_SQUARE = 7,
};

enum FPGA_WORK_MODE {
    FPGA_WM_BASE = 0,
    FPGA_WM_AM = 1,
    FPGA_WM_FM = 2,
    FPGA_WM_PM = 3,
    FPGA_WM_DSBAM = 4,
    FPGA_WM_ASK = 5,
    FPGA_WM_FSK = 6,
    FPGA_WM_3FSK = 7,
    FPGA_WM_4FSK = 8,
    FPGA_WM_PSK = 9,
    FPGA_WM_BPSK = 10,
    FPGA_WM_QPSK = 11,
    FPGA_WM_OSK = 12,
    FPGA_WM_QAM = 13,
    FPGA_WM_PWM = 14,
    FPGA_WM_SUM = 15,
    FPGA_WM_DMOD = 16,
    FPGA_WM_LINE = 17,
    FPGA_WM_LOG = 18,
    FPGA_WM_STEP = 19,
    FPGA_WM_LIST = 20,
    FPGA_WM_NCYNC = 21,
    FPGA_WM_GATE = 22,
    FPGA_WM_CONTINUE = 23,
};

enum FPGA_MOD_WAVE_TYPE {
    FPGA_MOD_Sine = 0,
    FPGA_MOD_Square = 1,
    FPGA_MOD_UpRamp = 2,
    FPGA_MOD_DnRamp = 3,
    FPGA_MOD_Noise = 4,
    FPGA_MOD_EXT = 5,
};

enum BURST_FPGA_Type {
    BURST_FPGA_N_Cycles = 0,
    BURST_FPGA_INIFITE = 1,
    BURST_FPAG_GATE_P = 2,
    BURST_FPAG_GATE_N = 3,
};

// Key numbers of the front panel (the knob reports as Up and Down). Codes
// below 32 are the number pad's unit buttons (the unit's position in its
// table). A code with bit 7 set is the long-press form; only OK has one.
enum KBD_KEY {
    Key_Start = 32,
    Key_Countinue = 32,
    Key_Mod = 33,
    Key_Sweep = 34,
    Key_Burst = 35,
    Key_Sine = 36,
    Key_Square = 37,
    Key_Ramp = 38,
    Key_Pulse = 39,
    Key_Arb = 40,
    Key_Harmonic = 41,
    Key_Noise = 42,
    Key_DC = 43,
    Key_PRBS = 44,
    Key_WARB = 45,
    Key_Ch1 = 46,
    Key_Ch2 = 47,
    Key_Ch3 = 48,
    Key_Ch4 = 49,
    Key_Utility = 50,
    Key_Right = 51,
    Key_Left = 52,
    Key_Ok = 53,
    Key_Up = 54,
    Key_Down = 55,
    Key_0 = 56,
    Key_1 = 57,
    Key_2 = 58,
    Key_3 = 59,
    Key_4 = 60,
    Key_5 = 61,
    Key_6 = 62,
    Key_7 = 63,
    Key_8 = 64,
    Key_9 = 65,
    Key_Dot = 66,
    Key_Symbol = 67,
    Key_Backspace = 68,
    Key_End = 68,
    Key_Cancel = 69,
    Key_MAX = 69,
    Key_Null = 255,
};
