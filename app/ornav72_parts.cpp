// The controller's slots that its owned parts answer: thin forwards, so the
// screens, the remote side and the models keep one object to talk to.
#include "app/ornav72.h"
#include <QVariant>
#include "param/sys_param.h"

void Ornav72::SysTimer_Slots()
{
    supervision_.tick();
}

void Ornav72::brightnessChanged()
{
    supervision_.SetBrightness(sys_param::HWinfo.BackLight);
}

void Ornav72::SendTempDis(float temp)
{
    // Every reading is shown, the first one too: the tick reports only
    // changes, so a reading dropped here would leave the page empty.
    const QString text = QString::asprintf("%2.2f", double(temp));
    Uidata* ui = &uidata;
    QMetaObject::invokeMethod(ui, [ui, text]() { ui->setBoardTemperature(text); }, Qt::QueuedConnection);
}
