// Applying a channel to the hardware.
#include "app/channel.h"
#include "hardware/CSetParam.h"
#include "app/signal/csignal.h"
#include "param/sys_param.h"

namespace {
void writeChByte(CH_ID ch, unsigned reg, unsigned char v) { CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, reg), v); }
} // namespace

void Channel::ChannelExe()
{
    const CH_DATA& d = sys_param::ch(ch);
    const CChCharacter& chr = CSetParam::state.pCharacter[ch];

    if (alterfun == CHANNEL_ALTERFUN_SYNCOUT) {
        // CH3/CH4 show the sync of CH1/CH2: a 3.3 V square at the sync
        // frequency, or DC 0 V when the source has none.
        const CH_ID src = CH_ID(ch - 2);
        const CH_DATA& s = sys_param::ch(src);
        writeChByte(ch, REG_WORK_MODE, 0);
        const double f = sys_param::SyncFrequency[ch];
        double amp = 0, offset = 0;
        if (f < 1e-6) {
            writeChByte(ch, REG_BASE_WAVE, FPGA_BASE_DC);
            CSetParam::SetFre(ch, 0);
        } else {
            amp = chr.GetLoadGain() * 3.3;
            offset = s.SyncRevers ? -amp / 2 : amp / 2;
            writeChByte(ch, REG_BASE_WAVE, FPGA_BASE_SQUARE);
            CSetParam::SetFre(ch, f);
            CSetParam::SetPulseParam(ch, f, 50, 5e-9, 5e-9);
        }
        CSetParam::SetAmpOffset(ch, f, amp, offset, false, s.SyncRevers, false, 0);
        CSetParam::SetSyncManual(ch, false);
        CSetParam::SetPhase(ch, 0);
        CSetParam::SetFPGAChInversion(ch, s.SyncRevers);
        CSetParam::SetChOutput(ch, sys_param::GetChOnOff(src) != 0);
        CSetParam::ResetFPFGA(true);
        lastOnoff = false;
        return;
    }

    if (alterfun == CHANNEL_ALTERFUN_DIGITAL) {
        const HardWareInfo& hw = sys_param::HWinfo;
        const double gain = chr.GetLoadGain();
        const double amp = gain > 0 ? 2 * double(hw.digitalAmplitude) / gain : 0;
        double f = double(hw.digitalSPIClk);
        if (hw.digitalType == DIGITAL_I2C)
            f = double(hw.digitalI2CClk);
        else if (hw.digitalType == DIGITAL_UART)
            f = hw.digitalUARTBaudrate;
        writeChByte(ch, REG_BASE_WAVE, FPGA_BASE_SINE);
        writeChByte(ch, REG_FILTER, 1);
        CSetParam::SetFre(ch, f);
        CSetParam::SetAmpOffset(ch, f, amp, 0, false, false, false, 0);
        CSetParam::SetChOutput(ch, true);
        return;
    }

    const bool on = sys_param::GetChOnOff(ch) != 0;
    CSetParam::SetChOutput(ch, on);
    if (!on) {
        // Relay open and the generator parked at DC 0 V.
        CSetParam::SetBaseWaveType(ch);
        writeChByte(ch, REG_WORK_MODE, 0);
        writeChByte(ch, REG_BASE_WAVE, FPGA_BASE_DC);
        CSetParam::SetAmpOffset(ch, 0, 0, 0, false, false, false, 0);
        CSetParam::SetSyncManual(ch, false);
    } else {
        if (!currentBaseSignal)
            selectFromRecord();
        if (currentBaseSignal)
            currentBaseSignal->Exe();
        if (!currentSignal || currentSignal == currentBaseSignal)
            CSetParam::SetDigtalModTrigInOutReg(ch, false, true); // release the trigger connector
        else
            currentSignal->Exe();
        if (!lastOnoff)
            CSetParam::ResetFPFGA(false);
    }
    lastOnoff = on;
    CSetParam::SetFPGAChInversion(ch, d.ChInversion);
}
