// The controller's side of the factory and service rows of the remote
// interface (serial number, system information, web text, settings made
// by the calibration station).
#include "app/ornav72.h"
#include <QMetaObject>
#include <QThread>

void Ornav72::serviceSetValue(int ch, int paramIndex, double value) { emit setValueCmd(ch, paramIndex, value); }

void Ornav72::serviceSetSerial(const char* text, unsigned length) { SetSN(text, length); }

QString Ornav72::serviceSysInfo() { return InitSysInfo(); }

void Ornav72::serviceSaveSysInfo(const QString& text) { SaveSysInfo(text); }

void Ornav72::serviceSaveHttp(const QString& text) { SaveSysHTTP(text); }

QString Ornav72::serviceHttp() { return getHttp(); }

void Ornav72::serviceWakeScreen()
{
    // Called by the SCPI worker: the activity time belongs to this object's
    // thread, where the tick reads it.
    if (thread() == QThread::currentThread())
        clrSavescreen();
    else
        QMetaObject::invokeMethod(
            this, [this]() { clrSavescreen(); }, Qt::QueuedConnection);
}
