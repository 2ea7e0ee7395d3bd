// Base-wave rows: the wave, its frequency or period, amplitude and offset
// (or high and low level), duty or width, edges, harmonics, arb files and the
// noise sum. Where the front panel offers two forms of an entry (frequency
// or period, amplitude/offset or high/low, duty or width, Vpp/Vrms/dBm, dB or
// ratio), the setter first switches the entry to the form it sets, exactly as
// a user would press the unit key before typing the value.
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
#include "communication/SCPI/commands/scpi_row_ids.h"
#include "platform/logging.h"

static const char kArbLibrary[] = "/usr/share/ArbWaveLib";
static const char kInternalStorage[] = "/run/media/mmcblk0p1";
static const char kUsbDisk[] = "/media/usbdisk";

static const CH_DATA& chData(scpi_t* c, int ch) { return scpi_row_instrument(c).record().PDT[ch]; }

static scpi_result_t waveSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t wave = 0;
    if (!SCPI_ParamChoice(c, row.choices, &wave, true))
        return SCPI_RES_ERR;
    scpi_row_instrument(c).baseWaveSelected(ch, wave, 0);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// The entry's form (unit index) first, then the value.
static scpi_result_t formThenValue(scpi_t* c, const scpi_row_t& row, int ch, int formIndex, int form, bool always)
{
    double v = 0;
    if (!scpi_row_value(c, row, &v))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (always)
        inst.setUnits(ch, formIndex, form);
    inst.setValue(ch, row.paramIndex, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// The form key is pressed only when the entry shows the other form: pressing
// it again redraws the entry and its keyboard for nothing, which doubled
// the work of every setter in a loop of them.
static scpi_result_t frequencySet(scpi_t* c, const scpi_row_t& row, int ch)
{
    return formThenValue(c, row, ch, PARAM_INDEX_FREQ, 0, chData(c, ch).TimeUnit != 0);
}

static scpi_result_t periodSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    return formThenValue(c, row, ch, PARAM_INDEX_FREQ, 1, chData(c, ch).TimeUnit == 0);
}

static scpi_result_t dutySet(scpi_t* c, const scpi_row_t& row, int ch)
{
    return formThenValue(c, row, ch, PARAM_INDEX_DUTYPULSE, 0, chData(c, ch).DutyPulseWidthUnit != 0);
}

static scpi_result_t widthSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    return formThenValue(c, row, ch, PARAM_INDEX_DUTYPULSE, 1, chData(c, ch).DutyPulseWidthUnit == 0);
}

static scpi_result_t amplitudeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double v = 0;
    scpi_unit_t unit = SCPI_UNIT_NONE;
    if (!scpi_row_number(c, row, &v, &unit))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    const CH_DATA& d = inst.record().PDT[ch];
    // dBm needs a defined load.
    if (unit == SCPI_UNIT_VDBM && d.Load == 1000000) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    if (d.AmpMode)
        inst.setUnits(ch, PARAM_INDEX_OFFSET, 0); // back to amplitude/offset
    if (unit != SCPI_UNIT_NONE) {
        const int u = unit == SCPI_UNIT_VRMS ? 1 : unit == SCPI_UNIT_VDBM ? 2 : 0;
        if (u != d.AmpUnit)
            inst.setUnits(ch, PARAM_INDEX_AMP, u);
    }
    inst.setValue(ch, PARAM_INDEX_AMP, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t amplitudeQuery(scpi_t* c, const scpi_row_t&, int ch)
{
    const CH_DATA& d = chData(c, ch);
    SCPI_ResultScientific(c, d.AmpUnit == 1 ? d.Vrms : d.AmpUnit == 2 ? d.VDbm : d.Vpp);
    return SCPI_RES_OK;
}

static scpi_result_t amplitudeUnitSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double tag = 0;
    if (!scpi_row_value(c, row, &tag))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    const CH_DATA& d = inst.record().PDT[ch];
    if (int(tag) == 2 && d.Load == 1000000) {
        qCCritical(lcScpi, "dbm not valid while load is highz");
        return SCPI_RES_OK;
    }
    if (d.AmpMode)
        inst.setUnits(ch, PARAM_INDEX_OFFSET, 0);
    inst.setUnits(ch, PARAM_INDEX_AMP, int(tag));
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// Offset, high and low: amplitude/offset form (AmpMode 0) or high/low (1).
static scpi_result_t levelSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    scpi_number_t n;
    if (!SCPI_ParamNumber(c, nullptr, &n, true)) {
        qCCritical(lcScpi, "get param error!");
        return SCPI_RES_ERR;
    }
    if (n.unit != SCPI_UNIT_NONE && n.unit != SCPI_UNIT_VOLT) {
        qCCritical(lcScpi, "get units error!");
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    ScpiInstrument& inst = scpi_row_instrument(c);
    const bool highLow = inst.record().PDT[ch].AmpMode != 0;
    const bool wantHighLow = row.id != R_BASE_OFFSET;
    if (highLow != wantHighLow)
        inst.setUnits(ch, PARAM_INDEX_OFFSET, wantHighLow ? 1 : 0);
    inst.setValue(ch, row.paramIndex, n.value);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t harmonicOrderSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t order = 0;
    if (!SCPI_ParamInt(c, &order, true))
        return SCPI_RES_ERR;
    if (order < 1 || order > 16) {
        qCCritical(lcScpi, "set order out of range");
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    scpi_row_instrument(c).setValue(ch, row.paramIndex, order);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t harmonicUserTypeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t bits = 0;
    if (!SCPI_ParamInt(c, &bits, true))
        return SCPI_RES_ERR;
    // Bit 15 marks a user choice of components.
    scpi_row_instrument(c).setValue(ch, row.paramIndex, double((uint32_t(bits) & 0xFFFFu) | 0x8000u));
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// The harmonic number of "HARMonic:ORDer#", clamped to 2..16.
static int harmonicNumber(scpi_t* c)
{
    int32_t n[2];
    scpi_row_numbers(c, n, 2);
    return n[1] < 2 ? 2 : n[1] > 16 ? 16 : n[1];
}

static scpi_result_t harmonicSnSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double v = 0;
    if (!scpi_row_number(c, row, &v, nullptr))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    inst.setValue(ch, PARAM_INDEX_HARMONICSN, harmonicNumber(c));
    inst.setValue(ch, row.paramIndex, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t harmonicSnQuery(scpi_t* c, const scpi_row_t& row, int ch)
{
    const CH_DATA& d = chData(c, ch);
    const int i = harmonicNumber(c) - 2;
    SCPI_ResultScientific(c, row.id == R_HARM_SN_AMPL ? d.HarmonicSnAmp[i] : d.HarmonicSnPhase[i]);
    return SCPI_RES_OK;
}

// "INTernal|USER|EXTernal,"name"": the file is looked up in that folder tree.
static scpi_result_t arbSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    int32_t source = 0;
    if (!SCPI_ParamChoice(c, scpi_list_arb_source, &source, true))
        return SCPI_RES_ERR;
    char name[100];
    size_t len = 0;
    if (!SCPI_ParamCopyText(c, name, sizeof name, &len, true))
        return SCPI_RES_ERR;
    const char* folder = source == 0 ? kArbLibrary : source == 1 ? kInternalStorage : kUsbDisk;
    ScpiInstrument& inst = scpi_row_instrument(c);
    std::string path;
    // A name is a name, never a path out of the chosen folder.
    if (len == 0 || std::strchr(name, '/') || !inst.findFile(folder, name, &path)) {
        qCCritical(lcScpi, "CAN Not FinD");
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    const bool base = row.id == R_BASE_ARB;
    inst.storeArbPath(ch, base, path);
    inst.arbFile(ch, path, base, true, false);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static bool startsWith(const char* s, const char* prefix) { return std::strncmp(s, prefix, std::strlen(prefix)) == 0; }

static scpi_result_t arbQuery(scpi_t* c, const scpi_row_t& row, int ch)
{
    const CH_DATA& d = chData(c, ch);
    const char* stored = row.id == R_BASE_ARB ? d.ArbFileDir : d.ModArbFileDir;
    char path[sizeof d.ArbFileDir + 1] = {};
    std::memcpy(path, stored, sizeof d.ArbFileDir); // the record's text need not be terminated
    const char* word = startsWith(path, kArbLibrary) ? "INTernal"
        : startsWith(path, kInternalStorage)         ? "USER"
                                                     : "EXTernal";
    const char* slash = std::strrchr(path, '/');
    SCPI_ResultCharacters(c, word, std::strlen(word));
    SCPI_ResultText(c, slash ? slash + 1 : path);
    return SCPI_RES_OK;
}

// Only CH1 and CH2 have the deep memory that point-by-point play needs.
static scpi_result_t arbModeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double v = 0;
    if (!scpi_row_value(c, row, &v))
        return SCPI_RES_ERR;
    if (ch > 1)
        return SCPI_RES_OK;
    scpi_row_instrument(c).setValue(ch, row.paramIndex, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static bool noNoiseSum(const CH_DATA& d)
{
    return d.BaseWave == BASE_Harmonic || d.BaseWave == BASE_Noise || d.BaseWave == BASE_DC;
}

static scpi_result_t noiseSumSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (noNoiseSum(inst.record().PDT[ch])) {
        qCWarning(lcScpi, "current base can't sum noise");
        return SCPI_RES_OK;
    }
    inst.setValue(ch, row.paramIndex, on ? 1 : 0);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t noiseUnitSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    double tag = 0;
    if (!scpi_row_value(c, row, &tag))
        return SCPI_RES_ERR;
    scpi_row_instrument(c).setUnits(ch, row.paramIndex, int(tag));
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t snrSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    ScpiInstrument& inst = scpi_row_instrument(c);
    const CH_DATA& d = inst.record().PDT[ch];
    if (noNoiseSum(d)) {
        qCCritical(lcScpi, "current base not support noiseSum!");
        return SCPI_RES_ERR;
    }
    double v = 0;
    scpi_unit_t unit = SCPI_UNIT_NONE;
    if (!scpi_row_number(c, row, &v, &unit))
        return SCPI_RES_ERR;
    if (unit == SCPI_UNIT_DB) {
        if (d.SNRUnit == 1)
            inst.setUnits(ch, row.paramIndex, 0);
    } else if (unit != SCPI_UNIT_NONE) {
        qCCritical(lcScpi, "unknow param unit!");
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    inst.setValue(ch, row.paramIndex, v);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

static scpi_result_t snrQuery(scpi_t* c, const scpi_row_t&, int ch)
{
    const CH_DATA& d = chData(c, ch);
    if (noNoiseSum(d)) {
        SCPI_ResultScientific(c, DBL_MAX);
        return SCPI_RES_ERR;
    }
    SCPI_ResultScientific(c, d.SNRUnit == 1 ? d.SNRatio : d.SNRatiodB);
    return SCPI_RES_OK;
}

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_base[] = {
    row(R_BASE_WAVE).channel().choice(scpi_list_base_wave).reply(RF_NAME, SCPI_READ_CH(BaseWave)).waits(RW_SCREENS)
        .formerPause(150).set(waveSet).effect("base waveform"),
    row(R_BASE_FREQ).channel().param(PARAM_INDEX_FREQ).number(SCPI_UNIT_HERTZ)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Frequency)).waits(RW_APPLIED).set(frequencySet)
        .effect("frequency (the entry switches to frequency form)"),
    row(R_BASE_PERIOD).channel().param(PARAM_INDEX_FREQ).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Period)).waits(RW_APPLIED).set(periodSet)
        .effect("period (the entry switches to period form)"),
    row(R_BASE_PHASE).channel().param(PARAM_INDEX_PHASE).real().reply(RF_SCIENTIFIC, SCPI_READ_CH(Phase))
        .waits(RW_APPLIED).effect("start phase in degrees"),
    row(R_BASE_AMPL).channel().param(PARAM_INDEX_AMP).number(SCPI_UNIT_ANY).waits(RW_APPLIED).set(amplitudeSet)
        .query(amplitudeQuery)
        .effect("amplitude; a Vrms or dBm suffix also selects that unit (dBm at high impedance: -224); the query "
                "answers in the current unit"),
    row(R_BASE_AMPL_UNIT).channel().param(PARAM_INDEX_AMP).special(scpi_list_amplitude_unit)
        .reply(RF_NAME, SCPI_READ_CH(AmpUnit)).waits(RW_APPLIED).formerPause(5).set(amplitudeUnitSet)
        .effect("unit of the amplitude entry (DBM at high impedance is ignored)"),
    row(R_BASE_OFFSET).channel().param(PARAM_INDEX_OFFSET).number(SCPI_UNIT_VOLT)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Offset)).waits(RW_APPLIED).set(levelSet)
        .effect("DC offset (the entry switches to amplitude/offset)"),
    row(R_BASE_HIGH).channel().param(PARAM_INDEX_AMP).number(SCPI_UNIT_VOLT).reply(RF_SCIENTIFIC, SCPI_READ_CH(High))
        .waits(RW_APPLIED).set(levelSet).effect("high level (the entry switches to high/low)"),
    row(R_BASE_LOW).channel().param(PARAM_INDEX_OFFSET).number(SCPI_UNIT_VOLT).reply(RF_SCIENTIFIC, SCPI_READ_CH(Low))
        .waits(RW_APPLIED).set(levelSet).effect("low level (the entry switches to high/low)"),
    row(R_BASE_DUTY).channel().param(PARAM_INDEX_DUTYPULSE).real().reply(RF_SCIENTIFIC, SCPI_READ_CH(Duty))
        .waits(RW_APPLIED).set(dutySet).effect("duty cycle in per cent (the entry switches to duty form)"),
    row(R_BASE_PWIDTH).channel().param(PARAM_INDEX_DUTYPULSE).real().reply(RF_SCIENTIFIC, SCPI_READ_CH(PulseWidth))
        .waits(RW_APPLIED).set(widthSet).effect("pulse width in seconds (the entry switches to width form)"),
    row(R_RAMP_SYMMETRY).channel().param(PARAM_INDEX_SYMMETRY).real().reply(RF_INT, SCPI_READ_CH(Symmetry))
        .waits(RW_APPLIED).effect("ramp symmetry in per cent"),
    row(R_PULSE_RISE).channel().param(PARAM_INDEX_RISE).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Rise)).waits(RW_APPLIED).effect("pulse rise time"),
    row(R_PULSE_FALL).channel().param(PARAM_INDEX_FALL).number(SCPI_UNIT_SECONDS)
        .reply(RF_SCIENTIFIC, SCPI_READ_CH(Fall)).waits(RW_APPLIED).effect("pulse fall time"),
    row(R_HARM_ORDER).channel().param(PARAM_INDEX_HARMONICORDER).integer().reply(RF_INT, SCPI_READ_CH(HarmonicOrder))
        .waits(RW_APPLIED).set(harmonicOrderSet).effect("highest harmonic, 1 to 16 (others: -224)"),
    row(R_HARM_TYPE).channel().param(PARAM_INDEX_HARMONICTYPE).choice(scpi_list_harmonic_type)
        .reply(RF_NAME, SCPI_READ_CH(HarmonicType)).waits(RW_APPLIED).effect("which harmonics are present"),
    row(R_HARM_USER_TYPE).channel().param(PARAM_INDEX_HARMONICUSERTYPE).integer()
        .reply(RF_INT, SCPI_READ_CH(HarmonicUserType)).waits(RW_APPLIED).set(harmonicUserTypeSet)
        .effect("user choice of harmonics as a bit mask (stored with bit 15 set)"),
    row(R_HARM_SN_AMPL).channel().param(PARAM_INDEX_HARMONICSNAMP).number(SCPI_UNIT_ANY).waits(RW_APPLIED)
        .set(harmonicSnSet).query(harmonicSnQuery).effect("amplitude of harmonic n (n clamped to 2..16)"),
    row(R_HARM_SN_PHASE).channel().param(PARAM_INDEX_HARMONICSNPHASE).number(SCPI_UNIT_ANY).waits(RW_APPLIED)
        .set(harmonicSnSet).query(harmonicSnQuery).effect("phase of harmonic n (n clamped to 2..16)"),
    row(R_BASE_ARB).channel().param(PARAM_INDEX_ARBFILE).choice(scpi_list_arb_source).waits(RW_APPLIED)
        .formerPause(100).set(arbSet).query(arbQuery)
        .effect("carrier arb file: source, then the file name as string data; looked up in that folder tree (not "
                "found: -224)"),
    row(R_MOD_ARB).channel().param(PARAM_INDEX_MODARBFILE).choice(scpi_list_arb_source).waits(RW_APPLIED)
        .formerPause(100).set(arbSet).query(arbQuery).effect("modulating arb file, as the carrier file"),
    row(R_ARB_MODE).channel().param(PARAM_INDEX_ARBSAMPLE).choice(scpi_list_arb_sampling)
        .reply(RF_NAME, SCPI_READ_CH(ArbSample)).waits(RW_APPLIED).set(arbModeSet)
        .effect("arb play: DDS or point by point (CH1/CH2; on CH3/CH4 accepted and ignored)"),
    row(R_ARB_FILTER).channel().param(PARAM_INDEX_ARBFILTER).choice(scpi_list_arb_filter)
        .reply(RF_NAME, SCPI_READ_CH(ArbFilter)).waits(RW_APPLIED).effect("interpolation between arb points"),
    row(R_NS).channel().param(PARAM_INDEX_CHNOISESUMSW).boolean().reply(RF_BOOL, SCPI_READ_CH(noiseSumSW))
        .waits(RW_APPLIED).set(noiseSumSet).effect("noise added to the output (ignored for harmonic, noise and DC)"),
    row(R_NS_UNIT).channel().param(PARAM_INDEX_CHNOISERATIO).special(scpi_list_noise_unit)
        .reply(RF_NAME, SCPI_READ_CH(SNRUnit)).waits(RW_APPLIED).set(noiseUnitSet)
        .effect("unit of the signal-to-noise entry"),
    row(R_NS_SNR).channel().param(PARAM_INDEX_CHNOISERATIO).number(SCPI_UNIT_ANY).waits(RW_APPLIED).set(snrSet)
        .query(snrQuery)
        .effect("signal-to-noise of the noise sum; a dB suffix selects dB (harmonic, noise, DC: -200)"),
    kRowsEnd,
};
// clang-format on
