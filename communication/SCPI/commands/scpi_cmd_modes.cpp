// Work-mode rows: the mode itself, triggers, modulation, sweep and burst.
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_ids.h"

static scpi_result_t modeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t mode = 0;
    if (!SCPI_ParamChoice(c, row.choices, &mode, true))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (uint32_t(mode) != workModeOf(inst.record().PDT[ch].WorkMode)) {
        inst.modeSelected(ch, mode);
        scpi_row_wait(c, row);
    }
    return SCPI_RES_OK;
}

// Modulation, sweep or burst type: the mode page's choice of that kind.
static scpi_result_t kindSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t tag = 0;
    if (!SCPI_ParamChoice(c, row.choices, &tag, true))
        return SCPI_RES_ERR;
    const int mode = int(workModeOf(uint32_t(tag)));
    scpi_row_instrument(c).setModeIndex(ch, mode, mode == 1 ? (tag & 15) : (tag & 3));
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t manualTriggerSet(scpi_t* c, const scpi_row_t&, int ch)
{
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (inst.record().PDT[ch].TrigerSource != 3)
        return SCPI_RES_ERR;  // only a channel waiting for a manual trigger takes one
    inst.manualTrigger(ch);
    return SCPI_RES_OK;
}

static bool isAm(const CH_DATA& d)
{
    return d.ModType == MT_AM;
}

static scpi_result_t depthSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double v = 0;
    if (!scpi_row_value(c, row, &v))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    inst.setValue(ch, isAm(inst.record().PDT[ch]) ? PARAM_INDEX_MODDEPTHAM : PARAM_INDEX_MODDEPTH, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t depthQuery(scpi_t* c, const scpi_row_t&, int ch)
{
    const CH_DATA& d = scpi_row_instrument(c).record().PDT[ch];
    SCPI_ResultScientific(c, isAm(d) ? d.ModDepthAM : d.ModDepth);
    return SCPI_RES_OK;
}

// The number of "PSK:PHASe#" (1..4) or "FSK:FREQuency#" (1..3); 0 when
// there is no such place (-109, as for a missing parameter).
static int placeNumber(scpi_t* c, const scpi_row_t& row)
{
    int32_t n[2];
    scpi_row_numbers(c, n, 2);
    const int last = row.id == R_PSK_PHASE ? 4 : 3;
    if (n[1] < 1 || n[1] > last) {
        SCPI_ErrorPush(c, SCPI_ERROR_MISSING_PARAMETER);
        return 0;
    }
    return n[1];
}

static const int kPskIndex[] = {PARAM_INDEX_MODPHASE1, PARAM_INDEX_MODPHASE2, PARAM_INDEX_MODPHASE3,
                                PARAM_INDEX_MODPHASE4};
static const int kFskIndex[] = {PARAM_INDEX_MODHOPFREFSK, PARAM_INDEX_MODHOPFREFSK2, PARAM_INDEX_MODHOPFREFSK3};

static scpi_result_t placeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    const int n = placeNumber(c, row);
    if (!n)
        return SCPI_RES_ERR;
    double v = 0;
    if (!scpi_row_value(c, row, &v))
        return SCPI_RES_ERR;
    scpi_row_instrument(c).setValue(ch, row.id == R_PSK_PHASE ? kPskIndex[n - 1] : kFskIndex[n - 1], v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t placeQuery(scpi_t* c, const scpi_row_t& row, int ch)
{
    const int n = placeNumber(c, row);
    if (!n)
        return SCPI_RES_ERR;
    const CH_DATA& d = scpi_row_instrument(c).record().PDT[ch];
    const double psk[] = {d.Phase1, d.Phase2, d.Phase3, d.Phase4};
    const double fsk[] = {d.ModHopFre, d.ModHopFre2, d.ModHopFre3};
    SCPI_ResultScientific(c, row.id == R_PSK_PHASE ? psk[n - 1] : fsk[n - 1]);
    return SCPI_RES_OK;
}

#define ROW(id, kind, p, unit, list, fmt, read, wait, pause, set, query, what, flags) \
    {id, RT_CHANNEL, kind, p, unit, -224, list, fmt, read, wait, pause, set, query, what, flags}
#define CHOICE(id, p, list, field, what) \
    ROW(id, RK_CHOICE, p, 0, list, RF_NAME, SCPI_READ_CH(field), RW_APPLIED, 0, nullptr, nullptr, what, 0)
#define NUMBER(id, p, unit, field, what, flags) \
    ROW(id, RK_NUMBER, p, unit, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(field), RW_APPLIED, 0, nullptr, nullptr, what, flags)
#define REAL(id, p, field, what) \
    ROW(id, RK_REAL, p, 0, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(field), RW_APPLIED, 0, nullptr, nullptr, what, 0)

const scpi_row_t scpi_rows_modes[] = {
    ROW(R_MODE, RK_CHOICE, -1, 0, scpi_list_work_mode, RF_NAME,
        [](const HardWareInfo& r, int t) -> double { return workModeOf(r.PDT[t].WorkMode); }, RW_SCREENS, 150,
        modeSet, nullptr, "work mode", 0),
    CHOICE(R_TRIG_SOURCE, PARAM_INDEX_TRIGSOURCE, scpi_list_trigger_source, TrigerSource,
           "trigger source of sweep and burst"),
    CHOICE(R_OSK_TRIG_SOURCE, PARAM_INDEX_TRIGSOURCEOSK, scpi_list_mod_source, TrigerSourceOSK,
           "trigger source of OSK"),
    CHOICE(R_TRIG_OUTPUT, PARAM_INDEX_TRIGOUT, scpi_list_trigger_output, TrigerOut, "trigger output edge"),
    ROW(R_SWEEP_TRIGGER, RK_NONE, -1, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, manualTriggerSet, nullptr,
        "one manual trigger (trigger source not MANual: -200)", RFL_LOG_CHANNEL),
    ROW(R_BURST_TRIGGER, RK_NONE, -1, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, manualTriggerSet, nullptr,
        "one manual trigger (trigger source not MANual: -200)", RFL_LOG_CHANNEL),
    ROW(R_MOD_TYPE, RK_CHOICE, -1, 0, scpi_list_mod_type, RF_NAME,
        [](const HardWareInfo& r, int t) -> double { return r.PDT[t].ModType & 15; }, RW_SCREENS, 500, kindSet,
        nullptr, "modulation type (selects modulation mode)", 0),
    CHOICE(R_MOD_IQMAP, PARAM_INDEX_QAMIQMAP, scpi_list_qam_map, QAM_Map, "QAM constellation"),
    CHOICE(R_PNCODE, PARAM_INDEX_PNCODEELEMENT, scpi_list_pn_code, CodeElement, "PN code length"),
    ROW(R_MOD_WAVE, RK_CHOICE, PARAM_INDEX_MODWAVE, 0, scpi_list_mod_wave, RF_NAME, SCPI_READ_CH(ModWave),
        RW_APPLIED, 150, nullptr, nullptr, "modulating waveform", 0),
    CHOICE(R_MOD_SOURCE, PARAM_INDEX_MODSOURCE, scpi_list_mod_source, ModSrc, "modulation source"),
    NUMBER(R_MOD_FREQ, PARAM_INDEX_MODFREQ, SCPI_UNIT_HERTZ, ModFre, "modulating frequency of AM, DSB-AM, FM, PM, PWM and SUM; keying rate of ASK, FSK, 3FSK, 4FSK and PSK", 0),
    NUMBER(R_MOD_RATIO, PARAM_INDEX_MODRATE, SCPI_UNIT_BITRATE, ModRate, "OSK rate: the carrier swells in and dies away once per period (OSK only; FSK keys at MODulate:FREQuency)", 0),
    NUMBER(R_MOD_BITRATE, PARAM_INDEX_BITRATE, SCPI_UNIT_BITRATE, Bitrate, "bit rate of QAM, BPSK and QPSK", 0),
    ROW(R_MOD_DEPTH, RK_REAL, PARAM_INDEX_MODDEPTH, 0, nullptr, RF_NONE, nullptr, RW_APPLIED, 0, depthSet,
        depthQuery, "modulation depth in per cent (AM has its own)", 0),
    NUMBER(R_FM_DEV, PARAM_INDEX_FMFREQDEV, SCPI_UNIT_HERTZ, ModFreDev, "FM frequency deviation", 0),
    REAL(R_PM_DEV, PARAM_INDEX_MODPHASEDEVPM, ModPhaseDev, "PM phase deviation in degrees"),
    ROW(R_PSK_PHASE, RK_REAL, PARAM_INDEX_MODPHASE1, 0, nullptr, RF_NONE, nullptr, RW_APPLIED, 0, placeSet,
        placeQuery, "PSK phase n, n 1 to 4 (others: -109)", 0),
    ROW(R_FSK_FREQ, RK_NUMBER, PARAM_INDEX_MODHOPFREFSK, SCPI_UNIT_HERTZ, nullptr, RF_NONE, nullptr, RW_APPLIED, 0,
        placeSet, placeQuery, "FSK hop frequency n, n 1 to 3 (others: -109)", 0),
    NUMBER(R_OSK_TIME, PARAM_INDEX_OSKOSCTIME, SCPI_UNIT_SECONDS, ModOscTime, "OSK oscillation time: how long the carrier takes to swell in and to die away (at most half the OSK period)", 0),
    REAL(R_PWM_DEV, PARAM_INDEX_MODPWMDUTYDEV, ModPWMDuty, "PWM duty deviation in per cent"),
    ROW(R_SWEEP_TYPE, RK_CHOICE, -1, 0, scpi_list_sweep_type, RF_NAME,
        [](const HardWareInfo& r, int t) -> double { return r.PDT[t].SweepType & 3; }, RW_SCREENS, 150, kindSet,
        nullptr, "sweep type (selects sweep mode)", RFL_LOG_CHANNEL),
    NUMBER(R_SWEEP_START, PARAM_INDEX_SWEEPSTARTFREQ, SCPI_UNIT_HERTZ, SwpStartFre, "sweep start frequency",
           RFL_LOG_CHANNEL),
    NUMBER(R_SWEEP_STOP, PARAM_INDEX_SWEEPENDFREQ, SCPI_UNIT_HERTZ, SwpEndFre, "sweep stop frequency",
           RFL_LOG_CHANNEL),
    NUMBER(R_SWEEP_TIME, PARAM_INDEX_SWEEPTIME, SCPI_UNIT_SECONDS, SwpTime, "sweep time: one sweep from start to stop (LINe, LOG); the dwell on each step (STEP) or list frequency (LIST)",
           RFL_LOG_CHANNEL),
    ROW(R_SWEEP_STEPS, RK_NUMBER, PARAM_INDEX_SWEEPSTEP, SCPI_UNIT_NONE, nullptr, RF_INT, SCPI_READ_CH(SweepStep),
        RW_APPLIED, 0, nullptr, nullptr, "number of steps of a stepped sweep", RFL_LOG_CHANNEL),
    ROW(R_BURST_TYPE, RK_CHOICE, -1, 0, scpi_list_burst_type, RF_NAME,
        [](const HardWareInfo& r, int t) -> double { return r.PDT[t].BurstType & 3; }, RW_SCREENS, 150, kindSet,
        nullptr, "burst type (selects burst mode)", RFL_LOG_CHANNEL),
    NUMBER(R_BURST_PERIOD, PARAM_INDEX_BURSTTRIGPERIOD, SCPI_UNIT_SECONDS, TrigerPeriod, "burst period: from one burst's start to the next (internal trigger)",
           RFL_LOG_CHANNEL),
    ROW(R_BURST_CYCLES, RK_INT, PARAM_INDEX_BURSTNCYNC, 0, nullptr, RF_INT, SCPI_READ_CH(BstCycles), RW_APPLIED, 0,
        nullptr, nullptr, "cycles per burst", RFL_LOG_CHANNEL),
    ROW(R_BURST_PHASE, RK_REAL, PARAM_INDEX_BURSSTARTPHASE, 0, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(BstStartPhase),
        RW_APPLIED, 0, nullptr, nullptr, "burst start phase in degrees", RFL_LOG_CHANNEL),
    ROW(R_BURST_GATE_POLARITY, RK_CHOICE, PARAM_INDEX_BURSTGATEPOLARITY, 0, scpi_list_gate_polarity, RF_NAME,
        SCPI_READ_CH(BstGatePolarity), RW_APPLIED, 0, nullptr, nullptr, "gate polarity of a gated burst",
        RFL_LOG_CHANNEL),
    {0, RT_NONE, RK_NONE, -1, 0, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, nullptr, nullptr, nullptr, 0},
};
