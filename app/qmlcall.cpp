#include "app/qmlcall.h"
#include <QByteArray>
#include <QMetaObject>
#include <QThread>

void qmlCall(QObject* o, const char* name, std::initializer_list<QVariant> args, QmlCall how)
{
    if (!o || args.size() > 3)
        return;
    QByteArray sig = QByteArray(name) + "(";
    for (size_t i = 0; i < args.size(); ++i)
        sig += i ? ",QVariant" : "QVariant";
    sig += ")";
    if (o->metaObject()->indexOfMethod(sig.constData()) < 0)
        return;
    Qt::ConnectionType type = Qt::DirectConnection;
    // A screen function runs JavaScript, which only the GUI thread may do:
    // a direct call from another thread (the controller applying a reload)
    // is posted instead, never run beside the GUI thread's own scripts.
    if (how == QmlCall::Queued || (how == QmlCall::Direct && o->thread() != QThread::currentThread()))
        type = Qt::QueuedConnection;
    else if (how == QmlCall::Wait && o->thread() != QThread::currentThread())
        type = Qt::BlockingQueuedConnection;  // blocking on one's own thread would dead-lock
    const QVariant* a = args.begin();
    switch (args.size()) {
    case 0: QMetaObject::invokeMethod(o, name, type); break;
    case 1: QMetaObject::invokeMethod(o, name, type, Q_ARG(QVariant, a[0])); break;
    case 2: QMetaObject::invokeMethod(o, name, type, Q_ARG(QVariant, a[0]), Q_ARG(QVariant, a[1])); break;
    default:
        QMetaObject::invokeMethod(o, name, type, Q_ARG(QVariant, a[0]), Q_ARG(QVariant, a[1]), Q_ARG(QVariant, a[2]));
        break;
    }
}
