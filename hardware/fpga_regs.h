#pragma once
// The FPGA register map. Every address holds one byte; a wider register takes
// consecutive addresses, least significant byte at the base address.
//
//   0x000-0x3FF  per-channel blocks, channel n at n * 0x100 (same offsets)
//   0x400-0x410  CH1 deep waveform memory window
//   0x500-0x510  CH2 deep waveform memory window
//   0x600-0x60E  global signal path (tables, triggers, frequency list, reset)
//   0x700-0x715  board peripherals (buzzer, DAC/clock serial ports, expanders,
//                offset DACs, counter front end)
//   0x800-0x82A  read-only status
//   0x900-0x916  digital protocol output

// ---- per-channel registers: offsets within a channel block -----------------
// Written at (channel * REG_CH_BLOCK) | offset; widths in bytes on the right.
enum FPGA_CH_REG {
    REG_WORK_MODE = 0x00,        // 1  FPGA_WORK_MODE
    REG_BASE_WAVE = 0x01,        // 1  FPGA_BASE_WAVE_TYPE
    REG_MOD_WAVE = 0x02,         // 1  FPGA_MOD_WAVE_TYPE
    REG_PHASE_INC = 0x03,        // 8  carrier phase increment
    REG_PHASE2 = 0x0D,           // 2  second PSK phase
    REG_PHASE3 = 0x0F,           // 2  third PSK phase
    REG_PHASE4 = 0x11,           // 2  fourth PSK phase
    REG_HOP1_INC = 0x13,         // 6  first hop frequency
    REG_MOD_INC = 0x19,          // 8  modulation rate / burst period
    REG_PULSE_DUTY = 0x25,       // 6  pulse or square duty
    REG_RISE_SLOPE = 0x2B,       // 3  rising-edge slope mantissa
    REG_FALL_SLOPE = 0x2E,       // 3  falling-edge slope mantissa
    REG_RISE_SHIFT = 0x31,       // 1  rising-edge slope exponent
    REG_FALL_SHIFT = 0x32,       // 1  falling-edge slope exponent
    REG_OSK_INC = 0x33,          // 6  OSK oscillation time
    REG_BURST_CYCLES = 0x39,     // 2  burst cycle count
    REG_BURST_MODE = 0x3B,       // 1  BURST_FPGA_Type
    REG_TRIG_SOURCE = 0x3C,      // 1  MOD_TRIG_TYPE
    REG_ATT = 0x3D,              // 1  output-path switch code
    REG_TRIG_OUT = 0x3E,         // 1  trigger-output type
    REG_VOL_ADJ = 0x3F,          // 2  amplitude scale 1..65535
    REG_INVERT = 0x41,           // 1  output inversion
    REG_PN_ORDER = 0x42,         // 1  PN code length for digital modulation
    REG_QAM_MODE = 0x43,         // 1  QAM constellation
    REG_BURST_DELAY = 0x44,      // 6  burst delay
    REG_MERGE_EN = 0x4A,         // 1  channel merge on/off
    REG_MERGE_GAIN = 0x4B,       // 2  merge gain
    REG_PRBS_ORDER = 0x4D,       // 1  PRBS length
    REG_PRBS_EDGE = 0x4E,        // 6  PRBS edge time
    REG_HOP2_INC = 0x54,         // 6  second hop frequency
    REG_HOP3_INC = 0x5A,         // 6  third hop frequency
    REG_SAFE_CLR = 0x60,         // 1  overload latch clear
    REG_OUTPUT = 0x61,           // 1  output relay on/off
    REG_SWEEP_LOAD = 0x62,       // 1  edge-table load strobe for pulse sweeps
    REG_SWEEP_FALL_SHIFT = 0x63, // 1  per-step falling-edge exponent (streamed)
    REG_SWEEP_RISE_SHIFT = 0x64, // 1  per-step rising-edge exponent (streamed)
    REG_SWEEP_FALL_SLOPE = 0x65, // 3  per-step falling-edge mantissa (streamed)
    REG_SWEEP_RISE_SLOPE = 0x68, // 3  per-step rising-edge mantissa (streamed)
    REG_SWEEP_STEP_INC = 0x6B,   // 6  per-step frequency increment (streamed)
    REG_SYMMETRY = 0x72,         // 6  ramp symmetry
    REG_RAMP_UP_SLOPE = 0x78,    // 3  ramp rising-slope mantissa
    REG_RAMP_DOWN_SLOPE = 0x7B,  // 3  ramp falling-slope mantissa
    REG_RAMP_UP_SHIFT = 0x7E,    // 1  ramp rising-slope shift
    REG_RAMP_DOWN_SHIFT = 0x7F,  // 1  ramp falling-slope shift
    REG_NOISE_SUM_EN = 0x80,     // 1  noise summing on/off
    REG_NOISE_SUM_GAIN = 0x81,   // 2  added-noise gain
    REG_FILTER = 0x83,           // 1  output filter select
    REG_START_PHASE = 0x84,      // 4  start phase
    REG_MOD_DEPTH = 0x88,        // 6  depth / frequency deviation / phase deviation
};

// Size of one channel block and the end of the per-channel area.
const unsigned REG_CH_BLOCK = 0x100;
const unsigned REG_CH_AREA_END = 0x400;

// ---- global and peripheral registers (absolute addresses) -------------------
enum FPGA_REG {
    REG_DEEP1_LOAD = 0x400, // 1  CH1 deep-memory load enable
    REG_DEEP1_DATA = 0x401, // 16 CH1 deep-memory data window
    REG_DEEP2_LOAD = 0x500, // 1  CH2 deep-memory load enable
    REG_DEEP2_DATA = 0x501, // 16 CH2 deep-memory data window

    REG_SYNC_RESET = 0x600,   // 1  phase-synchronising reset: 15 then 0
    REG_TABLE_SELECT = 0x601, // 1  table port target: ch * 4 + kind, 0x10 + ch noise filter
    REG_TABLE_LOAD = 0x602,   // 1  table load enable
    REG_TABLE_DATA = 0x603,   // 2  table data port (16-bit word stream)
    REG_TRIG_IO = 0x605,      // 1  trigger connector use
    REG_MANUAL_TRIG = 0x606,  // 1  manual trigger: 0, then a channel mask
    REG_LIST_CH = 0x607,      // 1  frequency-list target: 1 << channel
    REG_LIST_LOAD = 0x608,    // 1  frequency-list load enable
    REG_LIST_DATA = 0x609,    // 5  frequency-list entry port (36-bit value)
    REG_SYNC_MANUAL = 0x60E,  // 1  sync-manual flags, bit n for channel n

    REG_BUZZER = 0x700,       // 1  buzzer setting
    REG_BEEP = 0x701,         // 1  write 1 to sound the buzzer
    REG_DAC_SPI = 0x702,      // 2  main DAC (AD9122) serial word: reg * 256 + value
    REG_CLK_SPI = 0x704,      // 3  clock synthesiser (LMK04906) serial word
    REG_CLK_SOURCE = 0x707,   // 1  bit 0 external reference in, bit 1 reference out
    REG_LED_PORT = 0x708,     // 2  LED expander (TCA8418): reg * 256 + value
    REG_OFS_DAC_SEL = 0x70A,  // 1  offset DAC select: 0 CH1/CH2, 1 CH3/CH4, 2 counter
    REG_OFS_DAC = 0x70B,      // 2  word to the selected offset DAC
    REG_LTC_SEL = 0x70D,      // 1  LTC2000 select: 0 CH1, 1 otherwise
    REG_LTC_DATA = 0x70E,     // 1  LTC2000 register byte
    REG_CNT_LPF = 0x710,      // 1  counter input low-pass filter
    REG_CNT_COUPLING = 0x711, // 1  counter input coupling
    REG_CNT_ON = 0x712,       // 1  counter on/off
    REG_KEY_PORT = 0x713,     // 2  key expander (TCA8418): reg * 256 + value; bit 15 = read request
    REG_LED_INIT = 0x715,     // 1  written 1 once before the first LED update

    REG_KEY_CODE = 0x800,     // 1 R key event from the key expander
    REG_CLK_STATUS = 0x801,   // 1 R 0xFF with the external reference present and locked
    REG_CNT_HLEVEL_H = 0x803, // 4 R counter fast range: high-level count
    REG_CNT_REF_H = 0x807,    // 4 R counter fast range: reference-clock count
    REG_CNT_CYCLE_H = 0x80B,  // 4 R counter fast range: input-cycle count
    REG_HW_VER = 0x819,       // 1 R hardware version
    REG_LOGIC_VER = 0x81A,    // 2 R FPGA logic version
    REG_SAFE_STATUS = 0x81C,  // 1 R overload status, bits 2n and 2n+1 for channel n
    REG_CNT_HLEVEL_L = 0x81E, // 4 R counter slow range: high-level count
    REG_CNT_REF_L = 0x822,    // 4 R counter slow range: reference-clock count
    REG_CNT_CYCLE_L = 0x826,  // 4 R counter slow range: input-cycle count
    REG_KEY_READBACK = 0x82A, // 1 R byte returned by a key-expander read request

    REG_DIG_SW = 0x900,          // 1  digital protocol output on/off
    REG_DIG_LOAD = 0x901,        // 1  digital data load enable
    REG_DIG_DATA = 0x902,        // 1  digital data byte port
    REG_DIG_FLAG = 0x903,        // 1  companion byte of each data byte (UART parity)
    REG_DIG_TRIG_TYPE = 0x904,   // 1  send trigger type
    REG_DIG_MANUAL = 0x905,      // 1  manual send: 1 then 0
    REG_DIG_CLK = 0x90A,         // 4  bit-clock increment
    REG_DIG_UART_BITS = 0x90E,   // 1  UART data bits
    REG_DIG_UART_PARITY = 0x90F, // 1  UART parity
    REG_DIG_UART_STOP = 0x910,   // 1  UART stop bits
    REG_DIG_INTERVAL = 0x911,    // 6  automatic-send interval increment
};

// The read-only status block: the FPGA drives it, writes leave it unchanged.
const unsigned REG_STATUS_FIRST = 0x800;
const unsigned REG_STATUS_LAST = 0x82A;

// Table port targets: REG_TABLE_SELECT = ch * 4 + kind, or 0x10 + ch.
enum FPGA_TABLE_KIND {
    TABLE_KIND_BASE = 0,
    TABLE_KIND_MOD = 1,
    TABLE_KIND_FLATNESS = 2,
};
const unsigned TABLE_SELECT_NOISE_FILTER = 0x10;

// Size of the deep-memory data windows.
const unsigned REG_DEEP_WINDOW = 16;

// Service codes of the remote register commands: they stand for operations,
// never for raw addresses.
enum FPGA_ADDR_REG {
    FWORK_MODE = 1,
    PHASE_INC = 2,
    CNT_ATTEN = 47,
    CH_OnOff = 50,
    VOL_ADJ = 51,
    DC_Offset = 99,
    SN_STRING = 2048,
    SYS_VER = 2049,
    SYS_INFO = 2304,
    SYS_HTTP = 2305,
    SYS_IDN = 2306,
    SYS_CVER = 2307,
    SYS_RESET_TO_FACTORY = 2308,
};
