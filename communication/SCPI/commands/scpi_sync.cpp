#include "communication/SCPI/commands/scpi_sync.h"
#include <QDeadlineTimer>
#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <memory>

static bool onePass(QObject* controller, const QDeadlineTimer& deadline)
{
    // The semaphore outlives a timed-out wait: the queued call still runs later.
    auto done = std::make_shared<QSemaphore>(0);
    QMetaObject::invokeMethod(controller, [done]() { done->release(); }, Qt::QueuedConnection);
    const qint64 left = deadline.remainingTime();
    return done->tryAcquire(1, left < 0 ? 0 : int(left));
}

bool SCPI_WaitApplied(QObject* controller, int timeoutMs)
{
    if (!controller || controller->thread() == QThread::currentThread())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    return onePass(controller, deadline) && onePass(controller, deadline);
}
