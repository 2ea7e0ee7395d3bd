#include "uidata.h"
#include <QVariant>

Uidata::Uidata(QObject* parent) : QObject(parent) {}

void Uidata::updateProcessBar(int value)
{
    m_process = value;
    emit processBarChanged(value);
    if (mainObject)
        QMetaObject::invokeMethod(mainObject, "updateProcessBar", Q_ARG(QVariant, value));
}
