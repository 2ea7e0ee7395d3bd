#pragma once
// The controller's supervision: the 500 ms system tick (output protection,
// external reference, USB disk, remote links, key lock, board temperature,
// power key, screen saver, last-state saving, DHCP refresh), the display
// power and back-light level, and the start-up hardware check. Owned by the
// controller; every field belongs to the controller's thread unless its
// comment names another owner.
#include <atomic>
#include <QtGlobal>
#include "hardware/mem_io.h"

class Ornav72;
class QThread;
class QTimer;

class Supervision : public PowerDownNotice {
public:
    explicit Supervision(Ornav72& owner);
    Supervision(const Supervision&) = delete;
    Supervision& operator=(const Supervision&) = delete;
    ~Supervision();

    // Starts the tick: its timer runs in a thread of its own, the tick itself
    // on the controller's thread.
    void startTick();
    // Stops the tick's thread and waits for it (before the channels go).
    void stopTick();
    // One tick of supervision.
    void tick();

    // Records now as the last user activity; returns whether the screen
    // saver was on (the caller then swallows the key that woke it).
    bool clrSavescreen();
    // Switches a channel (or what it feeds) off after an overload or an
    // over-temperature event and reports it (error -802, error message).
    void channelProtect(int ch, int msgid, bool chdis);
    void SetBackLightBlank(bool state);
    void SetBrightness(int level);
    // Start-up: the board parts that are missing, shown in a message.
    void powerCheck();
    // The info window shown while the power key switches the board off.
    void showPowerDownNotice() override;

    // The external reference as last seen (the status-bar icon follows it).
    void setExternalReferenceValid(bool valid) { exit10MValid = valid; }
    bool externalReferenceValid() const { return exit10MValid; }
    bool screenSaved() const { return ScreenSaved; }
    qint64 lastActivity() const { return lastIpActiveTime; }
    bool usbDiskPresent() const { return usbdiskstatus; }
    bool networkUp() const { return ethnetstatus; }

private:
    void releaseRemoteLock();

    Ornav72& o;
    bool exit10MValid = true;
    qint64 lastIpActiveTime = 0;
    bool usbdiskstatus = false;
    bool usbhoststatus = false;
    bool lockerstatus = false;
    bool ethnetstatus = true;
    bool ScreenSaved = false;
    // Blank and back-light level last written (-1 none yet).
    int lastBlank = -1;
    int lastBrightness = -1;
    QTimer* appTimer = nullptr; // lives in timerthread; created here, deleted in that thread
    QThread* timerthread = nullptr;
    // A tick is queued to the controller's thread and has not run yet (set by
    // the timer thread, cleared there).
    std::atomic<bool> tickQueued {false};
};
