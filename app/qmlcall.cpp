#include "app/qmlcall.h"
#include <QByteArray>
#include <QPointer>
#include <vector>
#include "communication/remote_road.h"
#include "platform/handoff.h"
#include <QMetaObject>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <memory>

namespace {

const int kScreenWaitMs = 2000;

// Runs f(o) in o's thread and waits for it; the result travels in shared
// state, so an answer that comes after the wait was given up harms nothing.
// A functor posted to an object that is deleted meanwhile is dropped.
template <typename T, typename F>
T inObjectThread(QObject* o, F f)
{
    if (o->thread() == QThread::currentThread())
        return f(o);
    struct Answer {
        QSemaphore done;
        T value {};
    };
    auto a = std::make_shared<Answer>();
    // What the screen sends back meanwhile is part of an apply in progress.
    RemoteRoad::beginHop();
    struct End {
        ~End() { RemoteRoad::endHop(); }
    } end;
    handoffSend(a.get());
    QMetaObject::invokeMethod(
        o,
        [o, a, f]() {
            handoffTake(a.get());
            a->value = f(o);
            handoffSend(a.get());
            a->done.release();
        },
        Qt::QueuedConnection);
    if (!a->done.tryAcquire(1, kScreenWaitMs))
        return T {};
    handoffTake(a.get());
    return a->value;
}

} // namespace

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
    // Those are display updates. A call asked for as Queued is one that
    // may answer (a wave chosen on the page, a key handed to a page): it
    // is a counted hop of the remote road, so what the screen sends back is
    // applied before a remote "*OPC?" answers.
    if (how == QmlCall::Queued) {
        QPointer<QObject> target(o);
        const QByteArray method(name);
        const std::vector<QVariant> a(args.begin(), args.end());
        RemoteRoad::chain(o, [target, method, a]() {
            if (!target)
                return;
            switch (a.size()) {
            case 0: QMetaObject::invokeMethod(target, method.constData()); break;
            case 1: QMetaObject::invokeMethod(target, method.constData(), Q_ARG(QVariant, a[0])); break;
            case 2:
                QMetaObject::invokeMethod(target, method.constData(), Q_ARG(QVariant, a[0]), Q_ARG(QVariant, a[1]));
                break;
            default:
                QMetaObject::invokeMethod(target, method.constData(), Q_ARG(QVariant, a[0]), Q_ARG(QVariant, a[1]),
                                          Q_ARG(QVariant, a[2]));
                break;
            }
        });
        return;
    }
    if (how == QmlCall::Direct && o->thread() != QThread::currentThread())
        type = Qt::QueuedConnection;
    const bool blocking = how == QmlCall::Wait && o->thread() != QThread::currentThread();
    if (blocking)
        type = Qt::BlockingQueuedConnection; // blocking on one's own thread would dead-lock
    // What the screen sends back during the call is part of the apply.
    struct Hop {
        bool on;
        explicit Hop(bool b) : on(b)
        {
            if (on)
                RemoteRoad::beginHop();
        }
        ~Hop()
        {
            if (on)
                RemoteRoad::endHop();
        }
    } hop(blocking);
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

QVariant qmlProperty(QObject* o, const char* name)
{
    if (!o || !name)
        return QVariant();
    const QByteArray n(name);
    return inObjectThread<QVariant>(o, [n](QObject* x) { return x->property(n.constData()); });
}

void qmlSetProperty(QObject* o, const char* name, const QVariant& value)
{
    if (!o || !name)
        return;
    const QByteArray n(name);
    inObjectThread<bool>(o, [n, value](QObject* x) { return x->setProperty(n.constData(), value); });
}

QObject* qmlChild(QObject* base, const char* name)
{
    if (!base || !name)
        return nullptr;
    const QString n = QString::fromLatin1(name);
    return inObjectThread<QObject*>(base, [n](QObject* x) { return x->findChild<QObject*>(n); });
}
