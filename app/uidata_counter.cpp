// The counter display: the strip on the main screen and the counter page,
// refreshed from the counter registers every 1000 ms in the GUI thread while
// the counter is on.
#include <QDebug>
#include <QVariant>
#include "hardware/CSetParam.h"
#include "app/channalmodel.h"
#include "app/ornav72.h"
#include "app/on_controller.h"
#include "param/sys_param.h"
#include "app/uidata.h"

void Uidata::counteronoff(bool on)
{
    if (on) {
        counterTimer.start(1000);
    } else {
        // The refresh stops before the counter goes off, so no refresh can
        // read the registers in between; one last refresh shows the cleared
        // results.
        counterTimer.stop();
        CSetParam::offCounter();
        counterUpdate_Slots();
    }
    // The switch's entry belongs to the controller's thread (its value, the
    // record field and the screens' copies are written there).
    Ornav72* c = controller;
    onController(c, [c, on]() {
        const int i = PARAM_INDEX_COUNTERONOFF - PARAM_INDEX_SYS_START;
        const QList<channelModel*>& models = c->systemModels();
        if (i < models.size() && models[i])
            models[i]->SetValue(on ? 1 : 0, 0);
    });
}

void Uidata::counterClr()
{
    // The switch and the buzzer belong to the controller's thread.
    Ornav72* c = controller;
    onController(c, [c]() {
        if (sys_param::CounterOnOff) {
            c->beep(2);
            CSetParam::offCounter();
        } else {
            c->warnBeep(2);
        }
    });
    qDebug("clear counter buffer data");
}

void Uidata::counterUpdate_Slots()
{
    if (counterSwitchedOn)
        CSetParam::readCounterPara();
    auto first = [](const QStringList& l) { return l.isEmpty() ? QString() : l.first(); };
    const CSetParam::State& c = CSetParam::state;
    emit counterStripUpdated(first(c.strFre), first(c.strPeriod), first(c.strDuty), first(c.strPWidth));
    emit counterResultsUpdated(c.strFre, c.strPeriod, c.strDuty, c.strPWidth, c.strNWidth, CSetParam::CounterSamples());
}
