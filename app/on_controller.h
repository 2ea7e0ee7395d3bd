#pragma once
// Runs an action of the screens (the GUI thread) in the controller's thread,
// the owner of the record and of the editing models: at once when that is
// this thread, else queued as a hop of the remote road, so that a remote
// command that set off the screens' round trip waits for it too. The GUI
// thread never waits for the controller: the controller waits for the GUI
// thread whenever it drives a page, and two threads waiting for each other
// stop the instrument for good.
#include <QThread>
#include <functional>
#include "app/ornav72.h"
#include "communication/remote_road.h"

inline void onController(Ornav72* c, std::function<void()> f)
{
    if (!c)
        return;
    if (c->thread() == QThread::currentThread())
        f();
    else
        RemoteRoad::chain(c, std::move(f));
}
