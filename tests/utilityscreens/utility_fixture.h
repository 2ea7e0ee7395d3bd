#pragma once
// The utility tab, the file browser and the help page of the real screens,
// driven with front-panel keys through the controller on a simulated board.
#include <QDir>
#include <QFile>
#include "tests/screens/screens_fixture.h"

class UtilityScreens : public Screens {
protected:
    void SetUp() override
    {
        Screens::SetUp();
        // The tick is run by hand where a test needs it.
        emit ctrl->cmdStopTimer();
        settle();
    }
    void toUtility(int page)
    {
        call(obj("tabs"), "setChTab", {4, 2});
        settle();
        obj("utilitylayout")->setProperty("currentIndex", page);
        settle();
    }
    QObject* in(const char* part, const char* name) const
    {
        QObject* p = obj(part);
        return p ? p->findChild<QObject*>(QString::fromLatin1(name)) : nullptr;
    }
    static void focus(QObject* v, int index)
    {
        QMetaObject::invokeMethod(v, "forceActiveFocus");
        v->setProperty("currentIndex", index);
    }
    static int at(QObject* v) { return v->property("currentIndex").toInt(); }
    static bool focused(QObject* v) { return v->property("activeFocus").toBool(); }

    // A file below the simulated root.
    QString host(const QString& board) const { return dir.path() + board; }
    void writeFile(const QString& board, const QByteArray& data) const
    {
        QDir().mkpath(QFileInfo(host(board)).absolutePath());
        QFile f(host(board));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    bool exists(const QString& board) const { return QFileInfo::exists(host(board)); }
};
