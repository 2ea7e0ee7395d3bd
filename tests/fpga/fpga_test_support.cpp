#include "tests/fpga/fpga_test_support.h"
#include <QMutexLocker>

QMutex MessageCapture::s_mutex;
QStringList MessageCapture::s_messages;

MessageCapture::MessageCapture()
{
    QMutexLocker lock(&s_mutex);
    s_messages.clear();
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture() { qInstallMessageHandler(m_previous); }

QStringList MessageCapture::messages() const
{
    QMutexLocker lock(&s_mutex);
    return s_messages;
}

void MessageCapture::handler(QtMsgType, const QMessageLogContext&, const QString& msg)
{
    QMutexLocker lock(&s_mutex);
    s_messages.append(msg);
}
