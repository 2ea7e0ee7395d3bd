// Qt glue of the interpreter: error tips reach the screens through the
// controller's TipsMessage signal, queued to the controller's thread.
#include <QMetaObject>
#include <QObject>
#include <QString>
#include "param/global.h"
#include "communication/SCPI/scpi_interface.h"
#include "communication/SCPI/scpi_parser.h"

static void controllerTip(scpi_t* context, int type, const char* text)
{
    if (!context || !context->parent)
        return;
    // Emitting the signal from this thread; the controller's connection
    // delivers it queued.
    QMetaObject::invokeMethod(context->parent, "TipsMessage", Qt::DirectConnection, Q_ARG(int, type),
                              Q_ARG(int, int(ERROR_SCPI)), Q_ARG(bool, false), Q_ARG(QString, QString::fromUtf8(text)),
                              Q_ARG(bool, true));
}

void SCPI_UseControllerTips() { SCPI_SetTipHook(controllerTip); }

void SCPI_InstrumentInit(QObject* controller)
{
    SCPI_Init(&scpi_context);
    scpi_context.parent = controller;
    SCPI_UseControllerTips();
}
