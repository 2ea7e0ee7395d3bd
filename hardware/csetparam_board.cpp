// Board-level operations: phase-synchronising reset, reference clock, the
// trigger connector, the manual trigger and the overload latches.
#include "hardware/CSetParam.h"
#include "hardware/mem_io.h"
#include "param/sys_param.h"

void CSetParam::ResetFPFGA(bool force)
{
    if (!force && sys_param::GetPhaseSyncType(CH_SYS) == 0)
        return;
    SetFPGA_reg(REG_SYNC_RESET, static_cast<unsigned char>(15));
    SetFPGA_reg(REG_SYNC_RESET, static_cast<unsigned char>(0));
}

void CSetParam::SetExtCLKIn(bool in, bool out)
{
    SetFPGA_reg(REG_CLK_SOURCE, static_cast<unsigned char>((out ? 2 : 0) | (in ? 1 : 0)));
}

bool CSetParam::GetInputClkValid()
{
    unsigned char b = 0;
    FpgaRead(REG_CLK_STATUS, &b, 1);
    return b > 254;
}

// The one trigger connector: several channels may drive it as an output, or
// exactly one channel listens to it (bit 4). The value 0x10 alone - input
// mode with no channel left - is written as 0.
void CSetParam::SetDigtalModTrigInOutReg(CH_ID ch, bool enable, bool isOut)
{
    if (ch < CH1 || ch > CH4)
        return;
    const u8 bit = u8(1u << unsigned(ch));
    u8& t = sys_param::TrgInOut;
    if (!(enable && sys_param::GetChOnOff(ch) != 0))
        t = u8(t & ~bit);
    else if (isOut)
        t = u8((t | bit) & 0x0F);
    else
        t = u8(bit | 0x10);
    SetFPGA_reg(REG_TRIG_IO, static_cast<unsigned char>(t == 0x10 ? 0 : t));
    if (mem_io* io = mem_io::current())
        io->SetPin(io->trigIO, isOut);
}

void CSetParam::SetManualTrig(CH_ID ch)
{
    SetFPGA_reg(REG_MANUAL_TRIG, static_cast<unsigned char>(0));
    const unsigned mask = sys_param::GetManualTrigType(CH_SYS) != 0 ? 15u : (1u << (unsigned(ch) & 3));
    SetFPGA_reg(REG_MANUAL_TRIG, static_cast<unsigned char>(mask));
}

unsigned char CSetParam::OverloadChannels(unsigned char status)
{
    unsigned char mask = 0;
    for (unsigned n = 0; n < 4; ++n)
        if (((status >> (2 * n)) & 3u) == 3u)
            mask |= static_cast<unsigned char>(1u << n);
    return mask;
}

unsigned char CSetParam::PollOverload()
{
    unsigned char status = 0;
    FpgaRead(REG_SAFE_STATUS, &status, 1);
    const unsigned char mask = OverloadChannels(status);
    for (int n = CH1; n <= CH4; ++n)
        if (mask & (1u << n))
            SetFPGA_reg(ChReg(CH_ID(n), REG_SAFE_CLR), static_cast<unsigned char>(1));
    return mask;
}
