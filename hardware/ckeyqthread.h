#pragma once
// The front-panel key reader. The FPGA scans the key matrix and the knob
// through the key expander; a plain scanning thread polls the FPGA's key flag,
// reads the scan codes and queues them; the reader's own QThread takes them
// from the queue, maps them to key numbers (KBD_KEY), merges knob steps,
// detects the long press of OK, refuses locked keys and hands every key to
// the controller with SendKey.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <pthread.h>

class QThread;

// Remote lock: set while a remote client controls the instrument (every
// front-panel key is then locked); Utility on the panel releases it.
// Written by the controller's and the SCPI worker's threads, read by the
// key thread.
extern std::atomic<bool> pc_lock;
// Set for good once a remote per-key lock command was received: from then on
// a local key during remote control is used up without unlock, beep or tip.
extern std::atomic<bool> keyLockRemoteMode;

struct Key_Map {
    const char* name;  // key word of the remote key commands
    unsigned char key; // KBD_KEY, 255 = no key
    bool IsLongPress;
    std::atomic<bool> IsLock; // written by the worker thread, read by the key thread
};

// One node of the event ring between the scanning and the key thread; the
// ring (links and contents) is guarded by the key reader's ring lock.
struct KEY_INFO {
    KEY_INFO* Next;
    KEY_INFO* Prev;
    unsigned char Key; // scan code, bit 7 = pressed
    int repeat;        // merged knob steps
};

class CKeyQThread : public QObject {
    Q_OBJECT
public:
    // With startThreads false nothing runs: the queue and the event handling
    // are then driven by the caller (tests).
    explicit CKeyQThread(bool startThreads = true);
    ~CKeyQThread() override;

    // The one reader of the process (null before it is made): the remote
    // lock commands reach it here.
    static CKeyQThread* instance();

    static Key_Map KeyMap[256];
    static void InitKeyMap();
    // The map entry of a key number (first one), null when no entry has it.
    static Key_Map* EntryOfKey(unsigned char key);

    // Injects one scan code as if it had been scanned.
    void Appendkey(unsigned char scan) { AppendAndWake(scan); }
    // Scanning side: queues one code (knob steps merge); false when the code
    // is unmapped or the queue is full.
    bool AppendOnekey(unsigned char code);
    // Key-thread side: takes the oldest event; false when the queue is empty.
    bool TakeOneKey(unsigned char* code, int* repeat);
    int QueuedKeys() const;

    // One event taken from the queue (step 4 of the key thread) and the
    // 500 ms without any event (step 3).
    void HandleEvent(unsigned char code, int repeat);
    void IdleTimeout();
    bool LongPressPending() const { return pendingEntry != nullptr; }
    // The expanders are set up and the reader takes keys.
    bool IsReady() const { return readyFlag; }

    QElapsedTimer elapsedTime;
    QThread* mThread = nullptr;
    pthread_t mThread_scan {};

signals:
    void SendKey(int key, int repeat, int where);
    void SendKey(int key, int repeat);
    // A locked key: the warning beep and the locked-key tip.
    void WarnBeep(int where);
    void TipsMessage(int type, int index, bool status, QString header, bool disWindow);
    // The FPGA interfaces are set up and the reader takes keys.
    void ready();

public slots:
    void SetlockKey(unsigned char key, bool lock);
    bool GetlockKey(unsigned char key);
    bool IsKeylock();
    QString GetAlllockKey();
    void unlockALLKey();
    void lockALLKey();
    void slotOfThread();

private:
    static void* KeyScan(void* self);
    void scanLoop();
    bool sleepMs(int ms) const; // false when asked to stop meanwhile
    // Key thread: sleeps until a key is queued (true) or ms have passed
    // (never, for a negative ms) or the reader stops (false).
    bool waitForKey(int ms) const;
    // Queues a code and wakes the key thread for it.
    bool AppendAndWake(unsigned char code);
    void wakeReader();

    // Sleeps of both threads end here early: a queued key wakes the key
    // thread, the end of the reader wakes both.
    mutable std::mutex wakeLock;
    mutable std::condition_variable wake;

    KEY_INFO nodes[4];
    KEY_INFO* pKeyWriteBuff = nullptr;
    KEY_INFO* pKeyReadBuff = nullptr;
    Key_Map* pendingEntry = nullptr; // OK held, long press not yet decided
    std::atomic<bool> stopping {false};
    std::atomic<bool> readyFlag {false};
    bool scanStarted = false;
};
