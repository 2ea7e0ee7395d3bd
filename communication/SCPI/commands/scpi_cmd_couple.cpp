// Merge and coupling rows. The coupling settings of a pair live in the
// record of its first channel; the coupling rows send only what changes.
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_instrument.h"
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
        return SCPI_RES_ERR;  // merging is not possible now: -200
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

static const CoupleItem kFreq = {PARAM_INDEX_CHCOUPLEFREQSW, PARAM_INDEX_CHCOUPLEFREQTYPE,
                                 PARAM_INDEX_CHCOUPLEFREQRATE, PARAM_INDEX_CHCOUPLEFREQDEV,
                                 &CH_DATA::ChCoupleFreqSW, &CH_DATA::ChCoupleFreqType,
                                 &CH_DATA::ChCoupleFreqRate, &CH_DATA::ChCoupleFreqDev};
static const CoupleItem kAmpl = {PARAM_INDEX_CHCOUPLEAMPLSW, PARAM_INDEX_CHCOUPLEAMPLTYPE,
                                 PARAM_INDEX_CHCOUPLEAMPLRATE, PARAM_INDEX_CHCOUPLEAMPLDEV,
                                 &CH_DATA::ChCoupleAmplSW, &CH_DATA::ChCoupleAmplType,
                                 &CH_DATA::ChCoupleAmplRate, &CH_DATA::ChCoupleAmplDev};
static const CoupleItem kPhase = {PARAM_INDEX_CHCOUPLEPHASESW, PARAM_INDEX_CHCOUPLEPHASETYPE,
                                  PARAM_INDEX_CHCOUPLEPHASERATE, PARAM_INDEX_CHCOUPLEPHASEDEV,
                                  &CH_DATA::ChCouplePhaseSW, &CH_DATA::ChCouplePhaseType,
                                  &CH_DATA::ChCouplePhaseRate, &CH_DATA::ChCouplePhaseDev};

static const CoupleItem& itemOf(const scpi_row_t& row)
{
    switch (row.id) {
    case R_CPL_AMPL: case R_CPL_AMPL_SCALE: case R_CPL_AMPL_DEV:
        return kAmpl;
    case R_CPL_PHASE: case R_CPL_PHASE_SCALE: case R_CPL_PHASE_DEV:
        return kPhase;
    default:
        return kFreq;
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

#define SW(id, p, field, what)                                                                          \
    {id, RT_PAIR, RK_BOOL, p, 0, 0, nullptr, RF_BOOL, SCPI_READ_PAIR(field), RW_APPLIED, 0, switchSet, \
     nullptr, what " coupling of the pair on/off (masked now: -200)", 0}
#define AMOUNT(id, p, unit, field, what)                                                                 \
    {id, RT_PAIR, RK_NUMBER, p, unit, -109, nullptr, RF_SCIENTIFIC, SCPI_READ_PAIR(field), RW_APPLIED, 0, \
     amountSet, nullptr, what, 0}

const scpi_row_t scpi_rows_couple[] = {
    {R_CPL_MERGE, RT_CHANNEL, RK_BOOL, PARAM_INDEX_CHMERGE, 0, 0, nullptr, RF_BOOL, SCPI_READ_CH(ChMerge),
     RW_APPLIED, 10, mergeSet, nullptr, "merges the channel pair into this output (not possible now: -200)", 0},
    SW(R_CPL_FREQ, PARAM_INDEX_CHCOUPLEFREQSW, ChCoupleFreqSW, "frequency"),
    AMOUNT(R_CPL_FREQ_SCALE, PARAM_INDEX_CHCOUPLEFREQRATE, SCPI_UNIT_NONE, ChCoupleFreqRate,
           "frequency ratio of the second channel to the first (switches the coupling to ratio)"),
    AMOUNT(R_CPL_FREQ_DEV, PARAM_INDEX_CHCOUPLEFREQDEV, SCPI_UNIT_HERTZ, ChCoupleFreqDev,
           "frequency difference of the pair (switches the coupling to difference)"),
    SW(R_CPL_AMPL, PARAM_INDEX_CHCOUPLEAMPLSW, ChCoupleAmplSW, "amplitude"),
    AMOUNT(R_CPL_AMPL_SCALE, PARAM_INDEX_CHCOUPLEAMPLRATE, SCPI_UNIT_NONE, ChCoupleAmplRate,
           "amplitude ratio of the pair (switches the coupling to ratio)"),
    AMOUNT(R_CPL_AMPL_DEV, PARAM_INDEX_CHCOUPLEAMPLDEV, SCPI_UNIT_VPP, ChCoupleAmplDev,
           "amplitude difference of the pair in Vpp (switches the coupling to difference)"),
    SW(R_CPL_PHASE, PARAM_INDEX_CHCOUPLEPHASESW, ChCouplePhaseSW, "phase"),
    AMOUNT(R_CPL_PHASE_SCALE, PARAM_INDEX_CHCOUPLEPHASERATE, SCPI_UNIT_NONE, ChCouplePhaseRate,
           "phase ratio of the pair (switches the coupling to ratio)"),
    AMOUNT(R_CPL_PHASE_DEV, PARAM_INDEX_CHCOUPLEPHASEDEV, SCPI_UNIT_NONE, ChCouplePhaseDev,
           "phase difference of the pair in degrees (switches the coupling to difference)"),
    {0, RT_NONE, RK_NONE, -1, 0, 0, nullptr, RF_NONE, nullptr, RW_NONE, 0, nullptr, nullptr, nullptr, 0},
};
