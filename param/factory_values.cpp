// The factory values of the parameter record: what a factory reset writes
// after clearing the whole record to zero.
#include "param/sys_param.h"
#include <cstring>

namespace {
const char kDefaultArbFile[] = "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv";

void setChannelFactory(CH_DATA& d, int ch)
{
    d.WorkMode = WORK_BASE;
    d.ModType = MT_AM;
    d.SweepType = ST_LINE;
    d.BurstType = 0; // not a BURST_Type: readers that mask with & 3 see N cycles
    d.BaseWave = BASE_Sine;
    d.ModWave = Mod_Sine;
    d.ChCoupleFreqRate = 1.0;
    d.ChCoupleAmplRate = 1.0;
    d.ChCouplePhaseRate = 1.0;
    d.Load = 1000000;
    d.LimitH = 1.0;
    d.LimitL = -1.0;
    d.SampleRate = 320000000.0;
    d.Frequency = 1000.0;
    d.Period = 0.001;
    d.Vpp = 0.1;
    d.VDbm = 0;
    d.Vrms = 0;
    d.Offset = 0;
    d.High = 0.05;
    d.Low = -0.05;
    d.Phase = 0;
    d.Symmetry = 50;
    d.Delay = 10;
    // CH1 and CH2 have the faster output stage.
    d.Rise = ch < 2 ? 1e-9 : 5e-9;
    d.Fall = d.Rise;
    d.Duty = 50;
    d.PulseWidth = d.Period * d.Duty / 100.0;
    d.SweepStep = 10;
    d.BstCycles = 2;
    d.CodeElement = 0;
    d.SNRatiodB = 10;
    d.SNRatio = 10;
    std::strncpy(d.ModArbFileDir, kDefaultArbFile, sizeof(d.ModArbFileDir) - 1);
    std::strncpy(d.ArbFileDir, kDefaultArbFile, sizeof(d.ArbFileDir) - 1);
    d.HarmonicType = HARMNIC_TYPE_ODD;
    d.HarmonicOrder = 16;
    d.HarmonicSn = 2;
    d.HarmonicUserType = 0;
    for (int k = 2; k <= 16; ++k) {
        d.HarmonicSnAmp[k - 2] = d.Vpp / k;
        d.HarmonicSnPhase[k - 2] = 0;
    }
    d.EdgeTime = 2e-8;
    d.SwpStartFre = 1000;
    d.SwpEndFre = 1000000;
    d.SwpTime = 0.01;
    d.TrigerOut = 0;
    d.BstGatePolarity = 1;
    d.TrigerSource = TRIGSOURCE_INNER;
    d.TrigerSourceOSK = 0;
    d.TrigerPeriod = 0.005;
    d.BstStartPhase = 0;
    d.ModFre = 100;
    d.Bitrate = 100;
    d.ModDepthAM = 100;
    d.ModDepth = 100;
    d.ModFreDev = 1000;
    d.ModPhaseDev = 180;
    d.ModHopFre = 100000;
    d.ModHopFre2 = 50000;
    d.ModHopFre3 = 25000;
    d.Phase1 = 0;
    d.Phase2 = 90;
    d.Phase3 = 180;
    d.Phase4 = 270;
    d.ModOscTime = 0.002;
    d.ModPWMDuty = 50;
    d.ModRate = 100;
    d.QAM_Map = 0;
}
} // namespace

void sys_param::setFactoryValues(HardWareInfo& hw)
{
    std::memset(&hw, 0, sizeof(hw));
    for (int ch = 0; ch < 4; ++ch)
        setChannelFactory(hw.PDT[ch], ch);
    hw.Beep = true;
    hw.ManualTrigType = false;
    hw.PhaseSyncType = true;
    hw.ParamRemember = 0;
    hw.BackLight = 7;
    hw.Screensaver = 3;
    hw.Separator = 0;
    hw.ClockSource = false;
    hw.ClockOut = false;
    hw.PicFormat = 0;
    hw.CounterTrigSensiti = 100;
    hw.digitalType = DIGITAL_SPI;
    hw.digitalI2CAddr = 1;
    hw.digitalUARTDataBits = 4;
    hw.digitalUARTStopBits = 0;
    hw.digitalUARTParity = 0;
    hw.CounterTrigvoltage = 0;
    hw.digitalSPIClk = 1000;
    hw.digitalI2CClk = 1000;
    hw.digitalUARTBaudrate = 115200;
    hw.digitalASendInterval = 0.01;
    hw.digitalAmplitude = 3.0f;
}
