// Merge and coupling rows. The coupling settings of a pair live in the
// record of its first channel; the coupling rows send only what changes.
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_row_builder.h"
#include "communication/SCPI/commands/scpi_row_ids.h"

static scpi_result_t mergeSet(scpi_t* c, const scpi_row_t& row, int ch)
{
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (on == (inst.record().PDT[ch].ChMerge != 0))
        return SCPI_RES_OK;
    if (inst.modelMasked(ch, PARAM_INDEX_CHMERGE))
        return SCPI_RES_ERR; // merging is not possible now: -200
    inst.setValue(ch, row.paramIndex, on ? ch + 1 : 0);
    scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// One coupled quantity of a pair: its switch, its kind (0 ratio, 1
// difference), ratio and difference, with their parameter indices.
struct CoupleItem {
    int swIndex, typeIndex, rateIndex, devIndex;
    bool CH_DATA::*sw;
    bool CH_DATA::*type;
    double CH_DATA::*rate;
    double CH_DATA::*dev;
};

static const CoupleItem kFreq = {
    PARAM_INDEX_CHCOUPLEFREQSW, PARAM_INDEX_CHCOUPLEFREQTYPE, PARAM_INDEX_CHCOUPLEFREQRATE, PARAM_INDEX_CHCOUPLEFREQDEV,
    &CH_DATA::ChCoupleFreqSW,   &CH_DATA::ChCoupleFreqType,   &CH_DATA::ChCoupleFreqRate,   &CH_DATA::ChCoupleFreqDev};
static const CoupleItem kAmpl = {
    PARAM_INDEX_CHCOUPLEAMPLSW, PARAM_INDEX_CHCOUPLEAMPLTYPE, PARAM_INDEX_CHCOUPLEAMPLRATE, PARAM_INDEX_CHCOUPLEAMPLDEV,
    &CH_DATA::ChCoupleAmplSW,   &CH_DATA::ChCoupleAmplType,   &CH_DATA::ChCoupleAmplRate,   &CH_DATA::ChCoupleAmplDev};
static const CoupleItem kPhase = {PARAM_INDEX_CHCOUPLEPHASESW,   PARAM_INDEX_CHCOUPLEPHASETYPE,
                                  PARAM_INDEX_CHCOUPLEPHASERATE, PARAM_INDEX_CHCOUPLEPHASEDEV,
                                  &CH_DATA::ChCouplePhaseSW,     &CH_DATA::ChCouplePhaseType,
                                  &CH_DATA::ChCouplePhaseRate,   &CH_DATA::ChCouplePhaseDev};

static const CoupleItem& itemOf(const scpi_row_t& row)
{
    switch (row.id) {
    case R_CPL_AMPL:
    case R_CPL_AMPL_SCALE:
    case R_CPL_AMPL_DEV: return kAmpl;
    case R_CPL_PHASE:
    case R_CPL_PHASE_SCALE:
    case R_CPL_PHASE_DEV: return kPhase;
    default: return kFreq;
    }
}

static scpi_result_t switchSet(scpi_t* c, const scpi_row_t& row, int pair)
{
    const CoupleItem& it = itemOf(row);
    bool on = false;
    if (!SCPI_ParamBool(c, &on, true))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    if (inst.modelMasked(pair, it.swIndex))
        return SCPI_RES_ERR;
    if (on != (scpi_field(scpi_row_channel(inst.record(), pair).*it.sw) != 0)) {
        inst.setValue(pair, it.swIndex, on ? 1 : 0);
        scpi_row_wait(c, row);
    }
    return SCPI_RES_OK;
}

// A ratio or a difference; the kind of coupling follows what was set.
static scpi_result_t amountSet(scpi_t* c, const scpi_row_t& row, int pair)
{
    const CoupleItem& it = itemOf(row);
    const bool difference = row.paramIndex == it.devIndex;
    double v = 0;
    if (!scpi_row_number(c, row, &v, nullptr))
        return SCPI_RES_ERR;
    ScpiInstrument& inst = scpi_row_instrument(c);
    const CH_DATA& d = scpi_row_channel(inst.record(), pair);
    bool sent = false;
    if ((scpi_field(d.*it.type) != 0) != difference) {
        inst.setValue(pair, it.typeIndex, difference ? 1 : 0);
        sent = true;
    }
    if (v != (difference ? d.*it.dev : d.*it.rate)) {
        inst.setValue(pair, row.paramIndex, v);
        sent = true;
    }
    if (sent)
        scpi_row_wait(c, row);
    return SCPI_RES_OK;
}

// One row a command, laid out by hand: the formatter would put every call on
// a line of its own.
// clang-format off
constexpr scpi_row_t scpi_rows_couple[] = {
    row(R_CPL_MERGE).channel().param(PARAM_INDEX_CHMERGE).boolean().reply(RF_BOOL, SCPI_READ_CH(ChMerge))
        .waits(RW_APPLIED).formerPause(10).set(mergeSet)
        .effect("merges the channel pair into this output (not possible now: -200)"),
    row(R_CPL_FREQ).pair().param(PARAM_INDEX_CHCOUPLEFREQSW).boolean().reply(RF_BOOL, SCPI_READ_PAIR(ChCoupleFreqSW))
        .waits(RW_APPLIED).set(switchSet).effect("frequency coupling of the pair on/off (masked now: -200)"),
    row(R_CPL_FREQ_SCALE).pair().param(PARAM_INDEX_CHCOUPLEFREQRATE).number(SCPI_UNIT_NONE)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCoupleFreqRate)).waits(RW_APPLIED).set(amountSet)
        .effect("frequency ratio of the second channel to the first (switches the coupling to ratio)"),
    row(R_CPL_FREQ_DEV).pair().param(PARAM_INDEX_CHCOUPLEFREQDEV).number(SCPI_UNIT_HERTZ)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCoupleFreqDev)).waits(RW_APPLIED).set(amountSet)
        .effect("frequency difference of the pair (switches the coupling to difference)"),
    row(R_CPL_AMPL).pair().param(PARAM_INDEX_CHCOUPLEAMPLSW).boolean().reply(RF_BOOL, SCPI_READ_PAIR(ChCoupleAmplSW))
        .waits(RW_APPLIED).set(switchSet).effect("amplitude coupling of the pair on/off (masked now: -200)"),
    row(R_CPL_AMPL_SCALE).pair().param(PARAM_INDEX_CHCOUPLEAMPLRATE).number(SCPI_UNIT_NONE)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCoupleAmplRate)).waits(RW_APPLIED).set(amountSet)
        .effect("amplitude ratio of the pair (switches the coupling to ratio)"),
    row(R_CPL_AMPL_DEV).pair().param(PARAM_INDEX_CHCOUPLEAMPLDEV).number(SCPI_UNIT_VPP)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCoupleAmplDev)).waits(RW_APPLIED).set(amountSet)
        .effect("amplitude difference of the pair in Vpp (switches the coupling to difference)"),
    row(R_CPL_PHASE).pair().param(PARAM_INDEX_CHCOUPLEPHASESW).boolean()
        .reply(RF_BOOL, SCPI_READ_PAIR(ChCouplePhaseSW)).waits(RW_APPLIED).set(switchSet)
        .effect("phase coupling of the pair on/off (masked now: -200)"),
    row(R_CPL_PHASE_SCALE).pair().param(PARAM_INDEX_CHCOUPLEPHASERATE).number(SCPI_UNIT_NONE)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCouplePhaseRate)).waits(RW_APPLIED).set(amountSet)
        .effect("phase ratio of the pair (switches the coupling to ratio)"),
    row(R_CPL_PHASE_DEV).pair().param(PARAM_INDEX_CHCOUPLEPHASEDEV).number(SCPI_UNIT_NONE)
        .otherSuffixError(SCPI_ERROR_MISSING_PARAMETER)
        .reply(RF_SCIENTIFIC, SCPI_READ_PAIR(ChCouplePhaseDev)).waits(RW_APPLIED).set(amountSet)
        .effect("phase difference of the pair in degrees (switches the coupling to difference)"),
    kRowsEnd,
};
// clang-format on
