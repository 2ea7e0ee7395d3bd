#include "app/counter.h"
#include "app/ornav72.h"
#include "communication/remote_road.h"
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

void Counter::counterSwChanged()
{
    emit o.channelParamChanged(CH_COUNTER);
    // The strip's function calls Uidata::counteronoff, which starts or stops
    // the refresh in the GUI thread.
    Uidata* ui = &o.ui();
    const bool on = sys_param::CounterOnOff;
    ui->counterSwitchedOn = on;
    RemoteRoad::chain(ui, [ui, on]() { emit ui->counterStripRequested(on); });
}

void Counter::counterParamChanged() { emit o.channelParamChanged(CH_COUNTER); }
