#pragma once
// The controller with the real screens, and a record of every warning the
// QML engine and the controller's calls into the screens log.
#include <QMetaMethod>
#include <QQuickItem>
#include <QStringList>
#include "tests/selection/selection_fixture.h"

class ScreenLog {
public:
    ScreenLog()
    {
        active() = this;
        prev_ = qInstallMessageHandler(&ScreenLog::handler);
    }
    ~ScreenLog()
    {
        qInstallMessageHandler(prev_);
        active() = nullptr;
    }
    // Warnings that concern the screens: QML errors, binding loops, calls of
    // missing functions.
    QStringList warnings;

private:
    static ScreenLog*& active()
    {
        static ScreenLog* a = nullptr;
        return a;
    }
    static void handler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
    {
        if (!active() || type == QtDebugMsg || type == QtInfoMsg)
            return;
        const bool screens = msg.contains(QLatin1String("qrc:/")) || msg.contains(QLatin1String("QML")) ||
            msg.contains(QLatin1String("No such method")) || msg.contains(QLatin1String("Binding loop")) ||
            QByteArray(ctx.category ? ctx.category : "").startsWith("qt.qml");
        if (screens) {
            active()->warnings << msg;
            if (active()->prev_)
                active()->prev_(type, ctx, msg);
        }
    }
    QtMessageHandler prev_;
};

class Screens : public Selection {
protected:
    void SetUp() override
    {
        log = new ScreenLog();
        Selection::SetUp();
    }
    void TearDown() override
    {
        Selection::TearDown();
        delete log;
    }
    // No tick from here on, and nothing it showed (the simulated root's USB
    // disk greets the first tick with a message).
    void quietTick()
    {
        emit ctrl->cmdStopTimer();
        settle();
        obj("messagebox")->setProperty("visible", false);
    }
    // A QML function taking n arguments (QML passes them as QVariant).
    static bool hasFunction(QObject* o, const char* name, int n)
    {
        if (!o)
            return false;
        QByteArray sig = QByteArray(name) + "(";
        for (int i = 0; i < n; ++i)
            sig += i ? ",QVariant" : "QVariant";
        sig += ")";
        return o->metaObject()->indexOfMethod(sig.constData()) >= 0;
    }
    static QVariant call(QObject* o, const char* name, QVariantList args = {})
    {
        QVariant ret;
        QVariant a[4];
        for (int i = 0; i < args.size() && i < 4; ++i)
            a[i] = args[i];
        switch (args.size()) {
        case 0: QMetaObject::invokeMethod(o, name, Q_RETURN_ARG(QVariant, ret)); break;
        case 1: QMetaObject::invokeMethod(o, name, Q_RETURN_ARG(QVariant, ret), Q_ARG(QVariant, a[0])); break;
        case 2:
            QMetaObject::invokeMethod(o, name, Q_RETURN_ARG(QVariant, ret), Q_ARG(QVariant, a[0]),
                                      Q_ARG(QVariant, a[1]));
            break;
        case 3:
            QMetaObject::invokeMethod(o, name, Q_RETURN_ARG(QVariant, ret), Q_ARG(QVariant, a[0]),
                                      Q_ARG(QVariant, a[1]), Q_ARG(QVariant, a[2]));
            break;
        default:
            QMetaObject::invokeMethod(o, name, Q_RETURN_ARG(QVariant, ret), Q_ARG(QVariant, a[0]),
                                      Q_ARG(QVariant, a[1]), Q_ARG(QVariant, a[2]), Q_ARG(QVariant, a[3]));
            break;
        }
        return ret;
    }
    ScreenLog* log = nullptr;
};
