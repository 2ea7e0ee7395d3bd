#include "app/counter.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

void Counter::Exe()
{
    if (!sys_param::CounterOnOff) {
        CSetParam::SetCnt(false);
        return;
    }
    const HardWareInfo& hw = sys_param::HWinfo;
    CSetParam::SetCnt(true);
    CSetParam::SetCntTrigVoltage(double(hw.CounterTrigvoltage));
    CSetParam::SetCntLPF(hw.CounterLPF ? 1 : 0);
    CSetParam::SetCntCoupling(hw.CounterCoupling ? 1 : 0);
    CSetParam::SetCntTrigSensiti(double(hw.CounterTrigSensiti));
}
