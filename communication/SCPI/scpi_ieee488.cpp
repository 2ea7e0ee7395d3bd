#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/sys_error.h"
#include <atomic>

// Conditions and the edges not yet taken into the event registers, index 0
// operation, 1 questionable. Written by any thread, taken by the
// interpreter's.
static std::atomic<unsigned> g_condition[2];
static std::atomic<unsigned> g_latched[2];

static int statusIndex(scpi_reg_name_t event) { return event == SCPI_REG_OPER ? 0 : event == SCPI_REG_QUES ? 1 : -1; }

void SCPI_StatusCondition(scpi_reg_name_t event, scpi_reg_val_t bits, bool on)
{
    const int i = statusIndex(event);
    if (i < 0)
        return;
    if (!on) {
        g_condition[i].fetch_and(~unsigned(bits));
        return;
    }
    const unsigned old = g_condition[i].fetch_or(bits);
    if (bits & ~old)
        g_latched[i].fetch_or(bits & ~old);
}

scpi_reg_val_t SCPI_StatusConditionGet(scpi_reg_name_t event)
{
    const int i = statusIndex(event);
    return i < 0 ? 0 : scpi_reg_val_t(g_condition[i].load());
}

void SCPI_StatusTake(scpi_t* c)
{
    if (const unsigned oper = g_latched[0].exchange(0))
        SCPI_RegSetBits(c, SCPI_REG_OPER, scpi_reg_val_t(oper));
    if (const unsigned ques = g_latched[1].exchange(0))
        SCPI_RegSetBits(c, SCPI_REG_QUES, scpi_reg_val_t(ques));
}

static bool valid(scpi_t* c, int name) { return c && c->registers && name >= 0 && name < SCPI_REG_COUNT; }

scpi_reg_val_t SCPI_RegGet(scpi_t* c, scpi_reg_name_t name) { return valid(c, name) ? c->registers[name] : 0; }

// Summary bit of an event register in the status byte: set while any bit of
// the register is enabled.
static void updateSummary(scpi_t* c, scpi_reg_name_t event, scpi_reg_name_t enable, scpi_reg_val_t stbBit)
{
    const scpi_reg_val_t stb = c->registers[SCPI_REG_STB];
    if (c->registers[event] & c->registers[enable])
        SCPI_RegSet(c, SCPI_REG_STB, scpi_reg_val_t(stb | stbBit));
    else
        SCPI_RegSet(c, SCPI_REG_STB, scpi_reg_val_t(stb & ~stbBit));
}

void SCPI_RegSet(scpi_t* c, scpi_reg_name_t name, scpi_reg_val_t value)
{
    if (!valid(c, name))
        return;
    const scpi_reg_val_t old = c->registers[name];
    c->registers[name] = value;

    switch (name) {
    case SCPI_REG_STB: {
        bool srq = false;
        const scpi_reg_val_t mask = scpi_reg_val_t(c->registers[SCPI_REG_SRE] & ~STB_SRQ);
        if (value & mask) {
            value = scpi_reg_val_t(value | STB_SRQ);
            srq = value != old; // no new request while nothing changed
        } else {
            value = scpi_reg_val_t(value & ~STB_SRQ);
        }
        c->registers[SCPI_REG_STB] = value;
        if (srq && c->interface && c->interface->control)
            c->interface->control(c, SCPI_CTRL_SRQ, value);
        break;
    }
    case SCPI_REG_SRE: SCPI_RegSet(c, SCPI_REG_STB, c->registers[SCPI_REG_STB]); break;
    case SCPI_REG_ESR:
    case SCPI_REG_ESE: updateSummary(c, SCPI_REG_ESR, SCPI_REG_ESE, STB_ESR); break;
    case SCPI_REG_OPER:
    case SCPI_REG_OPERE: updateSummary(c, SCPI_REG_OPER, SCPI_REG_OPERE, STB_OPS); break;
    case SCPI_REG_QUES:
    case SCPI_REG_QUESE: updateSummary(c, SCPI_REG_QUES, SCPI_REG_QUESE, STB_QES); break;
    default: break;
    }
}

void SCPI_RegSetBits(scpi_t* c, scpi_reg_name_t name, scpi_reg_val_t bits)
{
    SCPI_RegSet(c, name, scpi_reg_val_t(SCPI_RegGet(c, name) | bits));
}

void SCPI_RegClearBits(scpi_t* c, scpi_reg_name_t name, scpi_reg_val_t bits)
{
    SCPI_RegSet(c, name, scpi_reg_val_t(SCPI_RegGet(c, name) & ~bits));
}

uint8_t SCPI_StatusByte(scpi_t* c, bool mav)
{
    if (!c || !c->registers)
        return 0;
    const scpi_reg_val_t* r = c->registers;
    unsigned stb = 0;
    // Edges latched since the interpreter last took them count already.
    if ((r[SCPI_REG_QUES] | g_latched[1].load()) & r[SCPI_REG_QUESE])
        stb |= STB_QES;
    if (Sys_ErrorCount() > 0)
        stb |= STB_QMA;
    if (mav)
        stb |= STB_MAV;
    if (r[SCPI_REG_ESR] & r[SCPI_REG_ESE])
        stb |= STB_ESR;
    if ((r[SCPI_REG_OPER] | g_latched[0].load()) & r[SCPI_REG_OPERE])
        stb |= STB_OPS;
    if (stb & r[SCPI_REG_SRE] & ~unsigned(STB_SRQ))
        stb |= STB_SRQ;
    return uint8_t(stb);
}
