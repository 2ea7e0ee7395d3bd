#pragma once
// Calls a function of a QML object with up to three QVariant arguments. A
// missing object or function is skipped: a screen without the item simply
// shows nothing.
#include <QObject>
#include <QVariant>
#include <initializer_list>

enum class QmlCall {
    Direct, // now in the object's thread; posted when called from another
    Queued, // later, in the object's thread
    Wait,   // in the object's thread, waiting for it (at once when that is this thread)
};

void qmlCall(QObject* o, const char* name, std::initializer_list<QVariant> args, QmlCall how = QmlCall::Direct);

// The screens' objects live in the GUI thread, whose QML engine runs their
// scripts and keeps their declared properties on its own heap. The
// controller (its own thread) and the tick must not read, write or search
// them directly: that runs the engine beside the GUI thread and corrupts it.
// These do the access in the object's thread and wait for it, at most two
// seconds (an invalid value / no object when the GUI thread did not answer).
QVariant qmlProperty(QObject* o, const char* name);
void qmlSetProperty(QObject* o, const char* name, const QVariant& value);
QObject* qmlChild(QObject* base, const char* name);
