#include "communication/SCPI/commands/scpi_rows.h"
#include <cmath>
#include <cstdio>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "param/systype.h"
#include "platform/logging.h"

namespace {

// What the handlers see before the application has installed its own.
class BlankInstrument : public ScpiInstrument {
public:
    const HardWareInfo& record() override { return m_record; }
    void recordImage(HardWareInfo* out) override { *out = m_record; }
    void setValue(int, int, double) override {}
    void setUnits(int, int, int) override {}
    void setModeIndex(int, int, int) override {}
    void baseWaveSelected(int, int, int) override {}
    void modeSelected(int, int) override {}
    void loadRecord(const char*, int) override {}
    void arbFile(int, const std::string&, bool, bool, bool) override {}
    bool waitApplied(bool, int) override { return true; }
    bool outputOn(int) override { return false; }
    bool modelMasked(int, int) override { return true; }
    int language() override { return 0; }
    std::string serial() override { return std::string(); }
    void setSerial(const char*, unsigned) override {}
    std::string displayName() override { return std::string(); }
    std::string hardwareVersion() override { return std::string(); }
    double sineBandwidth(int) override { return 0.0; }
    void storeArbPath(int, bool, const std::string&) override {}
    bool findFile(const char*, const std::string&, std::string*) override { return false; }
    void manualTrigger(int) override {}

private:
    HardWareInfo m_record {};
};

} // namespace

ScpiInstrument& scpi_instrument(scpi_t* context)
{
    // Immutable after construction: shared by every context without one.
    static BlankInstrument blank;
    return context && context->instrument ? *context->instrument : blank;
}

ScpiInstrument& scpi_row_instrument(scpi_t* context) { return scpi_instrument(context); }

static const scpi_row_t* const kAreas[] = {
    scpi_rows_system, scpi_rows_output, scpi_rows_couple, scpi_rows_base, scpi_rows_modes, scpi_rows_files,
};

const scpi_row_t* scpi_row_find(int32_t id)
{
    const int area = id >> 8;
    if (area < 1 || area > int(sizeof kAreas / sizeof kAreas[0]))
        return nullptr;
    for (const scpi_row_t* r = kAreas[area - 1]; r->id; r++)
        if (r->id == id)
            return r;
    return nullptr;
}

const CH_DATA& scpi_row_channel(const HardWareInfo& rec, int target)
{
    if (target >= CH1 && target <= CH4)
        return rec.PDT[target];
    // The settings of a pair live in the record of its first channel.
    return rec.PDT[target == COUPLE34 ? CH3 : CH1];
}

void scpi_row_numbers(scpi_t* context, int32_t* numbers, int count)
{
    for (int i = 0; i < count; i++)
        numbers[i] = 1;
    SCPI_CommandNumbers(context, numbers, size_t(count));
}

// The target of the running command; false (with the row's error) when the
// header names a channel or pair that does not exist.
static bool resolveTarget(scpi_t* c, const scpi_row_t& row, int* target)
{
    int32_t n[1];
    switch (row.target) {
    case RT_CHANNEL:
        scpi_row_numbers(c, n, 1);
        if (n[0] < 1 || n[0] > 4) {
            SCPI_ErrorPush(c, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
            if (row.flags & RFL_LOG_CHANNEL)
                qCCritical(lcScpi, "no channel number");
            return false;
        }
        *target = n[0] - 1;
        return true;
    case RT_PAIR:
        scpi_row_numbers(c, n, 1);
        if (n[0] != 1 && n[0] != 2)
            return false; // no code of its own: the parser reports -200
        *target = n[0] == 1 ? COUPLE12 : COUPLE34;
        return true;
    case RT_SYSTEM: *target = CH_SYS; return true;
    case RT_COUNTER: *target = CH_COUNTER; return true;
    case RT_NONE: break;
    }
    *target = -1;
    return true;
}

bool scpi_row_number(scpi_t* c, const scpi_row_t& row, double* value, scpi_unit_t* unit)
{
    scpi_number_t n;
    if (!SCPI_ParamNumber(c, nullptr, &n, true))
        return false;
    if (n.unit != SCPI_UNIT_NONE && row.suffix != SCPI_UNIT_ANY && row.suffix != n.unit) {
        SCPI_ErrorPush(c, row.suffixError);
        return false;
    }
    *value = n.value;
    if (unit)
        *unit = n.unit;
    return true;
}

bool scpi_row_value(scpi_t* c, const scpi_row_t& row, double* value)
{
    switch (row.kind) {
    case RK_BOOL: {
        bool b = false;
        if (!SCPI_ParamBool(c, &b, true))
            return false;
        *value = b ? 1 : 0;
        return true;
    }
    case RK_CHOICE: {
        int32_t tag = 0;
        if (!SCPI_ParamChoice(c, row.choices, &tag, true))
            return false;
        *value = tag;
        return true;
    }
    case RK_SPECIAL: {
        scpi_number_t n;
        if (!SCPI_ParamNumber(c, row.choices, &n, true))
            return false;
        if (!n.special) {
            SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return false;
        }
        *value = n.tag;
        return true;
    }
    case RK_NUMBER: return scpi_row_number(c, row, value, nullptr);
    case RK_REAL: return SCPI_ParamDouble(c, value, true);
    case RK_INT: {
        int32_t i = 0;
        if (!SCPI_ParamInt(c, &i, true))
            return false;
        *value = i;
        return true;
    }
    case RK_NONE:
    case RK_TEXT:
    case RK_BLOCK: break;
    }
    return false;
}

void scpi_row_wait(scpi_t* c, const scpi_row_t& row)
{
    if (row.wait == RW_NONE)
        return;
    if (!scpi_instrument(c).waitApplied(row.wait == RW_SCREENS, SCPI_APPLY_TIMEOUT_MS)) {
        // Not applied in time: the user learns it instead of a query
        // reading a value that is not there yet.
        qCWarning(lcScpi, "controller busy, going on after %d ms", int(SCPI_APPLY_TIMEOUT_MS));
        SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR);
    }
}

scpi_result_t SCPI_RowSet(scpi_t* c)
{
    const scpi_row_t* row = scpi_row_find(SCPI_CmdTag(c));
    if (!row)
        return SCPI_RES_ERR;
    int target = -1;
    if (!resolveTarget(c, *row, &target))
        return SCPI_RES_ERR;
    if (row->set)
        return row->set(c, *row, target);
    double v = 0;
    if (row->paramIndex < 0 || !scpi_row_value(c, *row, &v))
        return SCPI_RES_ERR;
    scpi_instrument(c).setValue(target, row->paramIndex, v);
    scpi_row_wait(c, *row);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_RowQuery(scpi_t* c)
{
    const scpi_row_t* row = scpi_row_find(SCPI_CmdTag(c));
    if (!row)
        return SCPI_RES_ERR;
    int target = -1;
    if (!resolveTarget(c, *row, &target))
        return SCPI_RES_ERR;
    if (row->query)
        return row->query(c, *row, target);
    if (!row->read)
        return SCPI_RES_ERR;
    const double v = row->read(scpi_instrument(c).record(), target);
    switch (row->format) {
    case RF_SCIENTIFIC: SCPI_ResultScientific(c, v); return SCPI_RES_OK;
    case RF_BOOL: SCPI_ResultBool(c, v != 0); return SCPI_RES_OK;
    case RF_INT:
        if (v >= -2147483648.0 && v < 2147483648.0) {
            SCPI_ResultInt(c, int32_t(v));
        } else {
            // A record from outside may hold anything; never convert out of range.
            char buf[400]; // the widest double has 309 digits
            const int n = std::isfinite(v) ? snprintf(buf, sizeof buf, "%.0f", std::trunc(v))
                                           : snprintf(buf, sizeof buf, "%s", std::isnan(v) ? "nan" : "inf");
            SCPI_ResultCharacters(c, buf, n < 0 ? 0 : size_t(n) < sizeof buf ? size_t(n) : sizeof buf - 1);
        }
        return SCPI_RES_OK;
    case RF_NAME: {
        int count = 0;
        while (row->choices && row->choices[count].name)
            count++;
        if (!(v >= 0 && v < count))
            return SCPI_RES_ERR; // a stored value outside the list
        const int pos = int(v);
        const char* name = row->choices[pos].name;
        size_t len = 0;
        while (name[len])
            len++;
        SCPI_ResultCharacters(c, name, len);
        return SCPI_RES_OK;
    }
    case RF_NONE: break;
    }
    return SCPI_RES_ERR;
}
