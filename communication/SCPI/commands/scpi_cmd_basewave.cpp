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
#include "communication/SCPI/commands/scpi_row_ids.h"
#include "platform/logging.h"

static const char kArbLibrary[] = "/usr/share/ArbWaveLib";
static const char kInternalStorage[] = "/run/media/mmcblk0p1";
static const char kUsbDisk[] = "/media/usbdisk";

static const CH_DATA& chData(scpi_t* c, int ch)
{
    return scpi_row_instrument(c).record().PDT[ch];
}

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
static scpi_result_t formThenValue(scpi_t* c, const scpi_row_t& row, int ch, int formIndex, int form,
                                   bool always)
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
        inst.setUnits(ch, PARAM_INDEX_OFFSET, 0);  // back to amplitude/offset
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

static bool startsWith(const char* s, const char* prefix)
{
    return std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

static scpi_result_t arbQuery(scpi_t* c, const scpi_row_t& row, int ch)
{
    const CH_DATA& d = chData(c, ch);
    const char* stored = row.id == R_BASE_ARB ? d.ArbFileDir : d.ModArbFileDir;
    char path[sizeof d.ArbFileDir + 1] = {};
    std::memcpy(path, stored, sizeof d.ArbFileDir);  // the record's text need not be terminated
    const char* word = startsWith(path, kArbLibrary) ? "INTernal" : startsWith(path, kInternalStorage) ? "USER"
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

#define ROW(id, kind, p, unit, err, list, fmt, read, wait, pause, set, query, what) \
    {id, RT_CHANNEL, kind, p, unit, err, list, fmt, read, wait, pause, set, query, what, 0}

const scpi_row_t scpi_rows_base[] = {
    ROW(R_BASE_WAVE, RK_CHOICE, -1, 0, 0, scpi_list_base_wave, RF_NAME, SCPI_READ_CH(BaseWave), RW_SCREENS, 150,
        waveSet, nullptr, "base waveform"),
    ROW(R_BASE_FREQ, RK_NUMBER, PARAM_INDEX_FREQ, SCPI_UNIT_HERTZ, -224, nullptr, RF_SCIENTIFIC,
        SCPI_READ_CH(Frequency), RW_APPLIED, 0, frequencySet, nullptr,
        "frequency (the entry switches to frequency form)"),
    ROW(R_BASE_PERIOD, RK_NUMBER, PARAM_INDEX_FREQ, SCPI_UNIT_SECONDS, -224, nullptr, RF_SCIENTIFIC,
        SCPI_READ_CH(Period), RW_APPLIED, 0, periodSet, nullptr, "period (the entry switches to period form)"),
    ROW(R_BASE_PHASE, RK_REAL, PARAM_INDEX_PHASE, 0, 0, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(Phase), RW_APPLIED,
        0, nullptr, nullptr, "start phase in degrees"),
    ROW(R_BASE_AMPL, RK_NUMBER, PARAM_INDEX_AMP, SCPI_UNIT_ANY, -224, nullptr, RF_NONE, nullptr, RW_APPLIED, 0,
        amplitudeSet, amplitudeQuery,
        "amplitude; a Vrms or dBm suffix also selects that unit (dBm at high impedance: -224); the query answers "
        "in the current unit"),
    ROW(R_BASE_AMPL_UNIT, RK_SPECIAL, PARAM_INDEX_AMP, 0, 0, scpi_list_amplitude_unit, RF_NAME,
        SCPI_READ_CH(AmpUnit), RW_APPLIED, 5, amplitudeUnitSet, nullptr,
        "unit of the amplitude entry (DBM at high impedance is ignored)"),
    ROW(R_BASE_OFFSET, RK_NUMBER, PARAM_INDEX_OFFSET, SCPI_UNIT_VOLT, -224, nullptr, RF_SCIENTIFIC,
        SCPI_READ_CH(Offset), RW_APPLIED, 0, levelSet, nullptr, "DC offset (the entry switches to amplitude/offset)"),
    ROW(R_BASE_HIGH, RK_NUMBER, PARAM_INDEX_AMP, SCPI_UNIT_VOLT, -224, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(High),
        RW_APPLIED, 0, levelSet, nullptr, "high level (the entry switches to high/low)"),
    ROW(R_BASE_LOW, RK_NUMBER, PARAM_INDEX_OFFSET, SCPI_UNIT_VOLT, -224, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(Low),
        RW_APPLIED, 0, levelSet, nullptr, "low level (the entry switches to high/low)"),
    ROW(R_BASE_DUTY, RK_REAL, PARAM_INDEX_DUTYPULSE, 0, 0, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(Duty), RW_APPLIED,
        0, dutySet, nullptr, "duty cycle in per cent (the entry switches to duty form)"),
    ROW(R_BASE_PWIDTH, RK_REAL, PARAM_INDEX_DUTYPULSE, 0, 0, nullptr, RF_SCIENTIFIC, SCPI_READ_CH(PulseWidth),
        RW_APPLIED, 0, widthSet, nullptr, "pulse width in seconds (the entry switches to width form)"),
    ROW(R_RAMP_SYMMETRY, RK_REAL, PARAM_INDEX_SYMMETRY, 0, 0, nullptr, RF_INT, SCPI_READ_CH(Symmetry), RW_APPLIED,
        0, nullptr, nullptr, "ramp symmetry in per cent"),
    ROW(R_PULSE_RISE, RK_NUMBER, PARAM_INDEX_RISE, SCPI_UNIT_SECONDS, -224, nullptr, RF_SCIENTIFIC,
        SCPI_READ_CH(Rise), RW_APPLIED, 0, nullptr, nullptr, "pulse rise time"),
    ROW(R_PULSE_FALL, RK_NUMBER, PARAM_INDEX_FALL, SCPI_UNIT_SECONDS, -224, nullptr, RF_SCIENTIFIC,
        SCPI_READ_CH(Fall), RW_APPLIED, 0, nullptr, nullptr, "pulse fall time"),
    ROW(R_HARM_ORDER, RK_INT, PARAM_INDEX_HARMONICORDER, 0, 0, nullptr, RF_INT, SCPI_READ_CH(HarmonicOrder),
        RW_APPLIED, 0, harmonicOrderSet, nullptr, "highest harmonic, 1 to 16 (others: -224)"),
    ROW(R_HARM_TYPE, RK_CHOICE, PARAM_INDEX_HARMONICTYPE, 0, 0, scpi_list_harmonic_type, RF_NAME,
        SCPI_READ_CH(HarmonicType), RW_APPLIED, 0, nullptr, nullptr, "which harmonics are present"),
    ROW(R_HARM_USER_TYPE, RK_INT, PARAM_INDEX_HARMONICUSERTYPE, 0, 0, nullptr, RF_INT,
        SCPI_READ_CH(HarmonicUserType), RW_APPLIED, 0, harmonicUserTypeSet, nullptr,
        "user choice of harmonics as a bit mask (stored with bit 15 set)"),
    ROW(R_HARM_SN_AMPL, RK_NUMBER, PARAM_INDEX_HARMONICSNAMP, SCPI_UNIT_ANY, -224, nullptr, RF_NONE, nullptr,
        RW_APPLIED, 0, harmonicSnSet, harmonicSnQuery, "amplitude of harmonic n (n clamped to 2..16)"),
    ROW(R_HARM_SN_PHASE, RK_NUMBER, PARAM_INDEX_HARMONICSNPHASE, SCPI_UNIT_ANY, -224, nullptr, RF_NONE, nullptr,
        RW_APPLIED, 0, harmonicSnSet, harmonicSnQuery, "phase of harmonic n (n clamped to 2..16)"),
    ROW(R_BASE_ARB, RK_CHOICE, PARAM_INDEX_ARBFILE, 0, 0, scpi_list_arb_source, RF_NONE, nullptr, RW_APPLIED, 100,
        arbSet, arbQuery,
        "carrier arb file: source, then the file name as string data; looked up in that folder tree (not "
        "found: -224)"),
    ROW(R_MOD_ARB, RK_CHOICE, PARAM_INDEX_MODARBFILE, 0, 0, scpi_list_arb_source, RF_NONE, nullptr, RW_APPLIED, 100,
        arbSet, arbQuery, "modulating arb file, as the carrier file"),
    ROW(R_ARB_MODE, RK_CHOICE, PARAM_INDEX_ARBSAMPLE, 0, 0, scpi_list_arb_sampling, RF_NAME,
        SCPI_READ_CH(ArbSample), RW_APPLIED, 0, arbModeSet, nullptr,
        "arb play: DDS or point by point (CH1/CH2; on CH3/CH4 accepted and ignored)"),
    ROW(R_ARB_FILTER, RK_CHOICE, PARAM_INDEX_ARBFILTER, 0, 0, scpi_list_arb_filter, RF_NAME,
        SCPI_READ_CH(ArbFilter), RW_APPLIED, 0, nullptr, nullptr, "interpolation between arb points"),
    ROW(R_NS, RK_BOOL, PARAM_INDEX_CHNOISESUMSW, 0, 0, nullptr, RF_BOOL, SCPI_READ_CH(noiseSumSW), RW_APPLIED, 0,
        noiseSumSet, nullptr, "noise added to the output (ignored for harmonic, noise and DC)"),
    ROW(R_NS_UNIT, RK_SPECIAL, PARAM_INDEX_CHNOISERATIO, 0, 0, scpi_list_noise_unit, RF_NAME,
        SCPI_READ_CH(SNRUnit), RW_APPLIED, 0, noiseUnitSet, nullptr, "unit of the signal-to-noise entry"),
    ROW(R_NS_SNR, RK_NUMBER, PARAM_INDEX_CHNOISERATIO, SCPI_UNIT_ANY, -224, nullptr, RF_NONE, nullptr, RW_APPLIED,
        0, snrSet, snrQuery,
        "signal-to-noise of the noise sum; a dB suffix selects dB (harmonic, noise, DC: -200)"),
    {0, RT_NONE, RK_NONE, -1, 0, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, nullptr, nullptr, nullptr, 0},
};
