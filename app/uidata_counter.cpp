// The counter display: the strip on the main screen and the counter page,
// refreshed from the counter registers every 1000 ms in the GUI thread while
// the counter is on.
#include <QDebug>
#include <QVariant>
#include "hardware/CSetParam.h"
#include "app/channalmodel.h"
#include "app/ornav72.h"
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
    if (controller) {
        const int i = PARAM_INDEX_COUNTERONOFF - PARAM_INDEX_SYS_START;
        const QList<channelModel*>& models = controller->systemModels();
        if (i < models.size() && models[i])
            models[i]->SetValue(on ? 1 : 0, 0);
    }
}

void Uidata::counterClr()
{
    if (controller) {
        if (sys_param::CounterOnOff) {
            controller->beep(2);
            CSetParam::offCounter();
        } else {
            controller->warnBeep(2);
        }
    }
    qDebug("clear counter buffer data");
}

void Uidata::counterUpdate_Slots()
{
    if (sys_param::CounterOnOff)
        CSetParam::readCounterPara();
    auto first = [](const QStringList& l) { return QVariant(l.isEmpty() ? QString() : l.first()); };
    const CSetParam::State& c = CSetParam::state;
    if (mainObject &&
        mainObject->metaObject()->indexOfMethod("counterupdate(QVariant,QVariant,QVariant,QVariant)") >= 0)
        QMetaObject::invokeMethod(mainObject, "counterupdate", Qt::QueuedConnection, Q_ARG(QVariant, first(c.strFre)),
                                  Q_ARG(QVariant, first(c.strPeriod)), Q_ARG(QVariant, first(c.strDuty)),
                                  Q_ARG(QVariant, first(c.strPWidth)));
    QObject* page = controller ? controller->counterObj : nullptr;
    if (page &&
        page->metaObject()->indexOfMethod("updateCounter(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)") >= 0)
        QMetaObject::invokeMethod(page, "updateCounter", Qt::QueuedConnection, Q_ARG(QVariant, c.strFre),
                                  Q_ARG(QVariant, c.strPeriod), Q_ARG(QVariant, c.strDuty),
                                  Q_ARG(QVariant, c.strPWidth), Q_ARG(QVariant, c.strNWidth),
                                  Q_ARG(QVariant, CSetParam::CounterSamples()));
}
