// Work-mode rows: the mode itself, triggers, modulation, sweep and burst.
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
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
        return SCPI_RES_ERR; // only a channel waiting for a manual trigger takes one
    inst.manualTrigger(ch);
    return SCPI_RES_OK;
}

static bool isAm(const CH_DATA& d) { return d.ModType == MT_AM; }

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

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_modes[] = {
    row(R_MODE).channel().choice(scpi_list_work_mode)
        .reply(RF_NAME, [](const HardWareInfo& r, int t) -> double { return workModeOf(r.PDT[t].WorkMode); })
        .waits(RW_SCREENS).formerPause(150).set(modeSet).effect("work mode"),
    row(R_TRIG_SOURCE).channel().param(PARAM_INDEX_TRIGSOURCE).choice(scpi_list_trigger_source)
        .reply(RF_NAME, SCPI_READ_CH(TrigerSource)).waits(RW_APPLIED).effect("trigger source of sweep and burst"),
    row(R_OSK_TRIG_SOURCE).channel().param(PARAM_INDEX_TRIGSOURCEOSK).choice(scpi_list_mod_source)
        .reply(RF_NAME, SCPI_READ_CH(TrigerSourceOSK)).waits(RW_APPLIED).effect("trigger source of OSK"),
    row(R_TRIG_OUTPUT).channel().param(PARAM_INDEX_TRIGOUT).choice(scpi_list_trigger_output)
        .reply(RF_NAME, SCPI_READ_CH(TrigerOut)).waits(RW_APPLIED).effect("trigger output edge"),
    row(R_SWEEP_TRIGGER).channel().set(manualTriggerSet).logChannel()
        .effect("one manual trigger (trigger source not MANual: -200)"),
    row(R_BURST_TRIGGER).channel().set(manualTriggerSet).logChannel()
        .effect("one manual trigger (trigger source not MANual: -200)"),
    row(R_MOD_TYPE).channel().choice(scpi_list_mod_type)
        .reply(RF_NAME, [](const HardWareInfo& r, int t) -> double { return r.PDT[t].ModType & 15; })
        .waits(RW_SCREENS).formerPause(500).set(kindSet).effect("modulation type (selects modulation mode)"),
    row(R_MOD_IQMAP).channel().param(PARAM_INDEX_QAMIQMAP).choice(scpi_list_qam_map)
        .reply(RF_NAME, SCPI_READ_CH(QAM_Map)).waits(RW_APPLIED).effect("QAM constellation"),
    row(R_PNCODE).channel().param(PARAM_INDEX_PNCODEELEMENT).choice(scpi_list_pn_code)
        .reply(RF_NAME, SCPI_READ_CH(CodeElement)).waits(RW_APPLIED).effect("PN code length"),
    row(R_MOD_WAVE).channel().param(PARAM_INDEX_MODWAVE).choice(scpi_list_mod_wave)
        .reply(RF_NAME, SCPI_READ_CH(ModWave)).waits(RW_APPLIED).formerPause(150).effect("modulating waveform"),
    row(R_MOD_SOURCE).channel().param(PARAM_INDEX_MODSOURCE).choice(scpi_list_mod_source)
        .reply(RF_NAME, SCPI_READ_CH(ModSrc)).waits(RW_APPLIED).effect("modulation source"),
    row(R_MOD_FREQ).channel().param(PARAM_INDEX_MODFREQ).number(SCPI_UNIT_HERTZ)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(ModFre)).waits(RW_APPLIED)
        .effect("modulating frequency of AM, DSB-AM, FM, PM, PWM and SUM; keying rate of ASK, FSK, 3FSK, 4FSK and PSK"),
    row(R_MOD_RATIO).channel().param(PARAM_INDEX_MODRATE).number(SCPI_UNIT_BITRATE)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(ModRate)).waits(RW_APPLIED)
        .effect("OSK rate: the carrier swells in and dies away once per period (OSK only; FSK keys at "
                "MODulate:FREQuency)"),
    row(R_MOD_BITRATE).channel().param(PARAM_INDEX_BITRATE).number(SCPI_UNIT_BITRATE)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Bitrate)).waits(RW_APPLIED).effect("bit rate of QAM, BPSK and QPSK"),
    row(R_MOD_DEPTH).channel().param(PARAM_INDEX_MODDEPTH).real().waits(RW_APPLIED).set(depthSet).query(depthQuery)
        .effect("modulation depth in per cent (AM has its own)"),
    row(R_FM_DEV).channel().param(PARAM_INDEX_FMFREQDEV).number(SCPI_UNIT_HERTZ)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(ModFreDev)).waits(RW_APPLIED).effect("FM frequency deviation"),
    row(R_PM_DEV).channel().param(PARAM_INDEX_MODPHASEDEVPM).real().reply(RF_SCIENTIFIC, SCPI_READ_CH(ModPhaseDev))
        .waits(RW_APPLIED).effect("PM phase deviation in degrees"),
    row(R_PSK_PHASE).channel().param(PARAM_INDEX_MODPHASE1).real().waits(RW_APPLIED).set(placeSet).query(placeQuery)
        .effect("PSK phase n, n 1 to 4 (others: -109)"),
    row(R_FSK_FREQ).channel().param(PARAM_INDEX_MODHOPFREFSK).number(SCPI_UNIT_HERTZ).waits(RW_APPLIED).set(placeSet)
        .query(placeQuery).effect("FSK hop frequency n, n 1 to 3 (others: -109)"),
    row(R_OSK_TIME).channel().param(PARAM_INDEX_OSKOSCTIME).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(ModOscTime)).waits(RW_APPLIED)
        .effect("OSK oscillation time: how long the carrier takes to swell in and to die away (at most half the OSK "
                "period)"),
    row(R_PWM_DEV).channel().param(PARAM_INDEX_MODPWMDUTYDEV).real().reply(RF_SCIENTIFIC, SCPI_READ_CH(ModPWMDuty))
        .waits(RW_APPLIED).effect("PWM duty deviation in per cent"),
    row(R_SWEEP_TYPE).channel().choice(scpi_list_sweep_type)
        .reply(RF_NAME, [](const HardWareInfo& r, int t) -> double { return r.PDT[t].SweepType & 3; })
        .waits(RW_SCREENS).formerPause(150).set(kindSet).logChannel().effect("sweep type (selects sweep mode)"),
    row(R_SWEEP_START).channel().param(PARAM_INDEX_SWEEPSTARTFREQ).number(SCPI_UNIT_HERTZ)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(SwpStartFre)).waits(RW_APPLIED).logChannel()
        .effect("sweep start frequency"),
    row(R_SWEEP_STOP).channel().param(PARAM_INDEX_SWEEPENDFREQ).number(SCPI_UNIT_HERTZ)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(SwpEndFre)).waits(RW_APPLIED).logChannel().effect("sweep stop frequency"),
    row(R_SWEEP_TIME).channel().param(PARAM_INDEX_SWEEPTIME).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(SwpTime)).waits(RW_APPLIED).logChannel()
        .effect("sweep time: one sweep from start to stop (LINe, LOG); the dwell on each step (STEP) or list "
                "frequency (LIST)"),
    row(R_SWEEP_STEPS).channel().param(PARAM_INDEX_SWEEPSTEP).number(SCPI_UNIT_NONE)
        .reply(RF_INT, SCPI_READ_CH(SweepStep)).waits(RW_APPLIED).logChannel()
        .effect("number of steps of a stepped sweep"),
    row(R_BURST_TYPE).channel().choice(scpi_list_burst_type)
        .reply(RF_NAME, [](const HardWareInfo& r, int t) -> double { return r.PDT[t].BurstType & 3; })
        .waits(RW_SCREENS).formerPause(150).set(kindSet).logChannel().effect("burst type (selects burst mode)"),
    row(R_BURST_PERIOD).channel().param(PARAM_INDEX_BURSTTRIGPERIOD).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(TrigerPeriod)).waits(RW_APPLIED).logChannel()
        .effect("burst period: from one burst's start to the next (internal trigger)"),
    row(R_BURST_CYCLES).channel().param(PARAM_INDEX_BURSTNCYNC).integer().reply(RF_INT, SCPI_READ_CH(BstCycles))
        .waits(RW_APPLIED).logChannel().effect("cycles per burst"),
    row(R_BURST_PHASE).channel().param(PARAM_INDEX_BURSSTARTPHASE).real()
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(BstStartPhase)).waits(RW_APPLIED).logChannel()
        .effect("burst start phase in degrees"),
    row(R_BURST_GATE_POLARITY).channel().param(PARAM_INDEX_BURSTGATEPOLARITY).choice(scpi_list_gate_polarity)
        .reply(RF_NAME, SCPI_READ_CH(BstGatePolarity)).waits(RW_APPLIED).logChannel()
        .effect("gate polarity of a gated burst"),
    kRowsEnd,
};
// clang-format on
