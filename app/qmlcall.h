#pragma once
// Calls a function of a QML object with up to three QVariant arguments. A
// missing object or function is skipped: a screen without the item simply
// shows nothing.
#include <QObject>
#include <QVariant>
#include <initializer_list>

enum class QmlCall {
    Direct,  // now in the object's thread; posted when called from another
    Queued,  // later, in the object's thread
    Wait,    // in the object's thread, waiting for it (at once when that is this thread)
};

void qmlCall(QObject* o, const char* name, std::initializer_list<QVariant> args, QmlCall how = QmlCall::Direct);
