// The controller's part in the frequency counter: its entries apply the
// counter in the worker thread, the on/off entry also opens or closes the
// counter strip (whose refresh runs in Uidata, in the GUI thread).
#include "app/ornav72.h"
#include "communication/remote_road.h"
#include "param/sys_param.h"

void Ornav72::counterSwChanged()
{
    emit channelParamChanged(CH_COUNTER);
    // The strip's function calls Uidata::counteronoff, which starts or stops
    // the refresh in the GUI thread.
    Uidata* ui = &uidata;
    const bool on = sys_param::CounterOnOff;
    RemoteRoad::chain(ui, [ui, on]() { emit ui->counterStripRequested(on); });
}

void Ornav72::counterParamChanged() { emit channelParamChanged(CH_COUNTER); }
