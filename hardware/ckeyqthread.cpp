#include "hardware/ckeyqthread.h"
#include <QDebug>
#include <QThread>
#include <chrono>
#include <cstring>
#include <mutex>
#include <sys/prctl.h>
#include <time.h>
#include "hardware/CSetParam.h"
#include "param/global.h"
#include "param/systype.h"
#include "platform/handoff.h"

std::atomic<bool> pc_lock {false};
std::atomic<bool> keyLockRemoteMode {false};

Key_Map CKeyQThread::KeyMap[256];

namespace {
std::atomic<CKeyQThread*> g_reader {nullptr};
}

CKeyQThread* CKeyQThread::instance() { return g_reader.load(); }

namespace {
// The ring is shared by the scanning thread (writer) and the key thread
// (reader). A knob step merges into the newest queued event, which the reader
// may be taking at that moment, so both sides hold this lock for the few
// instructions they touch the ring.
std::mutex g_ringLock;

const unsigned short kReadEvent = 0x8400; // read request of the expander's event register
const unsigned short kClearInts = 0x021F; // clear every interrupt flag of the expander

// Register 0x713, the key expander's port.
void keyPortWrite(unsigned short word) { CSetParam::SetFPGA_reg(REG_KEY_PORT, word); }

struct MapRow {
    unsigned char scan;
    const char* name;
    unsigned char key;
};
const MapRow kRows[] = {
    {1, "COUNtinue", Key_Countinue},
    {2, "MOD", Key_Mod},
    {11, "SWEep", Key_Sweep},
    {12, "BURSt", Key_Burst},
    {21, "SINe", Key_Sine},
    {31, "SQUare", Key_Square},
    {41, "RAMP", Key_Ramp},
    {51, "PULSe", Key_Pulse},
    {32, "ARB", Key_Arb},
    {42, "HARMonic", Key_Harmonic},
    {22, "NOISe", Key_Noise},
    {52, "DC", Key_DC},
    {61, "PRBS", Key_PRBS},
    {62, "WARB", Key_WARB},
    {71, "CH1", Key_Ch1},
    {72, "CH2", Key_Ch2},
    {74, "CH3", Key_Ch3},
    {75, "CH4", Key_Ch4},
    {65, "UTILity", Key_Utility},
    {54, "NUM0", Key_0},
    {43, "NUM1", Key_1},
    {44, "NUM2", Key_2},
    {45, "NUM3", Key_3},
    {33, "NUM4", Key_4},
    {34, "NUM5", Key_5},
    {35, "NUM6", Key_6},
    {23, "NUM7", Key_7},
    {24, "NUM8", Key_8},
    {25, "NUM9", Key_9},
    {53, "DOT", Key_Dot},
    {55, "SYMBol", Key_Symbol},
    {63, "BACKspace", Key_Backspace},
    {15, "RIGHt", Key_Right},
    {14, "LEFT", Key_Left},
    {5, "OK", Key_Ok},
    {122, "UP", Key_Up},
    {117, "DOWN", Key_Down},
    {224, "Key_Cancel", Key_Cancel},
    {127, "null", Key_Null},
};
} // namespace

void CKeyQThread::InitKeyMap()
{
    for (Key_Map& e : KeyMap) {
        e.name = "NULL";
        e.key = Key_Null;
        e.IsLongPress = false;
        e.IsLock = false;
    }
    for (const MapRow& r : kRows) {
        Key_Map& e = KeyMap[r.scan];
        e.name = r.name;
        e.key = r.key;
        e.IsLongPress = r.key == Key_Ok;
        e.IsLock = false;
    }
}

Key_Map* CKeyQThread::EntryOfKey(unsigned char key)
{
    if (key == Key_Null)
        return nullptr;
    for (Key_Map& e : KeyMap)
        if (e.key == key)
            return &e;
    return nullptr;
}

CKeyQThread::CKeyQThread(bool startThreads)
{
    // Built here as well as in the thread, so the lock commands work at once.
    InitKeyMap();
    for (int i = 0; i < 4; ++i) {
        nodes[i].Next = &nodes[(i + 1) % 4];
        nodes[i].Prev = &nodes[(i + 3) % 4];
        nodes[i].Key = 0;
        nodes[i].repeat = 0;
    }
    pKeyWriteBuff = pKeyReadBuff = &nodes[0];
    elapsedTime.start();
    CKeyQThread* none = nullptr;
    g_reader.compare_exchange_strong(none, this);
    if (!startThreads)
        return;
    mThread = new QThread();
    mThread->setObjectName(QStringLiteral("keys"));
    moveToThread(mThread);
    connect(mThread, &QThread::started, this, &CKeyQThread::slotOfThread);
    mThread->start();
    const int ret = pthread_create(&mThread_scan, nullptr, &CKeyQThread::KeyScan, this);
    if (ret != 0)
        qWarning("KeyScan create error,retValue=%d", ret);
    else
        scanStarted = true;
}

CKeyQThread::~CKeyQThread()
{
    CKeyQThread* self = this;
    g_reader.compare_exchange_strong(self, nullptr);
    stopping = true;
    wakeReader();
    if (scanStarted)
        pthread_join(mThread_scan, nullptr);
    if (mThread) {
        mThread->quit();
        mThread->wait();
        // The key loop has ended with its thread (marked at its end): what
        // it used goes away with this object.
        handoffTake(this);
        delete mThread;
    }
}

bool CKeyQThread::sleepMs(int ms) const
{
    // One wake-up per pause; the end of the program cuts it short.
    std::unique_lock<std::mutex> lock(wakeLock);
    wake.wait_for(lock, std::chrono::milliseconds(ms > 0 ? ms : 0), [this] { return stopping.load(); });
    return !stopping;
}

bool CKeyQThread::waitForKey(int ms) const
{
    std::unique_lock<std::mutex> lock(wakeLock);
    const auto woken = [this] { return stopping.load() || QueuedKeys() > 0; };
    if (ms < 0) {
        wake.wait(lock, woken);
        return !stopping;
    }
    return wake.wait_for(lock, std::chrono::milliseconds(ms), woken) && !stopping;
}

void CKeyQThread::wakeReader()
{
    // Taken and released so that the reader cannot miss the event between
    // its look at the ring and its wait.
    {
        std::lock_guard<std::mutex> lock(wakeLock);
    }
    wake.notify_all();
}

bool CKeyQThread::AppendOnekey(unsigned char code)
{
    const Key_Map& e = KeyMap[code & 0x7F];
    if (e.key == Key_Null)
        return false;
    std::lock_guard<std::mutex> lock(g_ringLock);
    if (e.key == Key_Up || e.key == Key_Down) {
        KEY_INFO* newest = pKeyWriteBuff->Prev;
        if (pKeyWriteBuff != pKeyReadBuff && newest->Key == code) {
            newest->repeat = newest->repeat + 1; // knob steps merge
            return true;
        }
    }
    if (pKeyWriteBuff->Next == pKeyReadBuff)
        return false; // full: the event is dropped
    pKeyWriteBuff->Key = code;
    pKeyWriteBuff->repeat = 1;
    pKeyWriteBuff = pKeyWriteBuff->Next;
    return true;
}

bool CKeyQThread::AppendAndWake(unsigned char code)
{
    const bool queued = AppendOnekey(code);
    if (queued)
        wakeReader();
    return queued;
}

bool CKeyQThread::TakeOneKey(unsigned char* code, int* repeat)
{
    std::lock_guard<std::mutex> lock(g_ringLock);
    if (pKeyReadBuff == pKeyWriteBuff)
        return false;
    *code = pKeyReadBuff->Key;
    *repeat = pKeyReadBuff->repeat > 0 ? pKeyReadBuff->repeat : 1;
    pKeyReadBuff->Key = 0;
    pKeyReadBuff->repeat = 0;
    pKeyReadBuff = pKeyReadBuff->Next;
    return true;
}

int CKeyQThread::QueuedKeys() const
{
    std::lock_guard<std::mutex> lock(g_ringLock);
    int n = 0;
    for (const KEY_INFO* p = pKeyReadBuff; p != pKeyWriteBuff; p = p->Next)
        ++n;
    return n;
}

void CKeyQThread::HandleEvent(unsigned char code, int repeat)
{
    Key_Map* entry = &KeyMap[code & 0x7F];
    if (entry->key == Key_Null)
        return;
    if (code & 0x80) {
        // The remote lock locks every key, yet Utility is the panel's way out
        // of it: it reaches the controller unless per-key locks are in use.
        const bool releasesRemoteLock = entry->key == Key_Utility && pc_lock && !keyLockRemoteMode;
        if (entry->IsLock && !releasesRemoteLock) {
            emit WarnBeep(KEY_FROM_FRONT_PANEL);
            emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_KEY_LOCKED_ERROR, false, QString(), true);
        } else if (!entry->IsLongPress) {
            emit SendKey(entry->key, repeat, KEY_FROM_FRONT_PANEL);
            // Knob steps arriving meanwhile merge into one event.
            if (entry->key == Key_Up || entry->key == Key_Down)
                sleepMs(mThread ? 50 : 0);
        } else {
            pendingEntry = entry;
        }
    } else if (entry->IsLongPress && pendingEntry == entry) {
        pendingEntry = nullptr;
        emit SendKey(entry->key, repeat, KEY_FROM_FRONT_PANEL); // short press
    }
}

void CKeyQThread::IdleTimeout()
{
    if (!pendingEntry)
        return;
    const int key = pendingEntry->key | 0x80;
    pendingEntry = nullptr;
    emit SendKey(key, 1, KEY_FROM_FRONT_PANEL); // long press
}

void CKeyQThread::slotOfThread()
{
    // The key map was built by the constructor: building it again here would
    // drop a lock that a remote command set meanwhile.
    CSetParam::InitLEDFonfig();
    CSetParam::InitKEYFonfig();
    // Events the expander collected before we listened are thrown away.
    for (int i = 0; i < 10 && !stopping; ++i) {
        keyPortWrite(kReadEvent);
        sleepMs(2);
        keyPortWrite(kClearInts);
        sleepMs(2);
        keyPortWrite(kClearInts);
        sleepMs(2);
        (void)CSetParam::GetKey();
        sleepMs(2);
    }
    qInfo("key reader ready");
    readyFlag = true;
    emit ready();
    while (!stopping) {
        unsigned char code = 0;
        int repeat = 1;
        bool got = false;
        // Asleep until the scanning thread queues a key, or, while OK is
        // held, 500 ms without one (the long press of OK). The wait is on
        // the clock: counted in polls, a busy machine stretched it past the
        // release of a key held for a second, and the long press came out as
        // a tap. With no press pending there is nothing to time out: the
        // idle panel does not wake this thread at all.
        if (waitForKey(pendingEntry ? 500 : -1))
            got = TakeOneKey(&code, &repeat);
        if (stopping)
            break;
        if (got)
            HandleEvent(code, repeat);
        else
            IdleTimeout();
    }
    handoffSend(this);
}

namespace {
const long kPollNs = 10000000L; // the key flag poll: every 10 ms

long long nsOf(const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; }

// Sleeps to the next point of the poll grid. A poll that wakes more than a
// period after its point (a stopped or starved process) takes the grid up
// from then instead of catching up with a burst of polls.
void sleepToNextPoll(timespec& next)
{
    next.tv_nsec += kPollNs;
    if (next.tv_nsec >= 1000000000L) {
        next.tv_nsec -= 1000000000L;
        next.tv_sec++;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now); // read in user space (vDSO), no system call
    if (nsOf(now) - nsOf(next) > kPollNs)
        next = now;
}
} // namespace

void* CKeyQThread::KeyScan(void* self)
{
    static_cast<CKeyQThread*>(self)->scanLoop();
    return nullptr;
}

void CKeyQThread::scanLoop()
{
    // Named for top, perf and the benchmarks' per-thread figures.
    pthread_setname_np(pthread_self(), "keyscan");
    if (!sleepMs(1000))
        return;
    // The flag poll is the idle program's only periodic wake-up. It may come
    // a millisecond late without anyone noticing: that much timer slack lets
    // the kernel serve it together with other timers that fall due.
    prctl(PR_SET_TIMERSLACK, 1000000UL, 0UL, 0UL, 0UL);
    timespec next {};
    clock_gettime(CLOCK_MONOTONIC, &next);
    while (!stopping) {
        // Each poll: one sleep to an absolute point of a 10 ms grid (no
        // lock, no wait queue) and one read of the flag. The end of the
        // program is noticed at the next poll.
        while (!stopping && !CSetParam::HAS_KEY_FLAG())
            sleepToNextPoll(next);
        if (stopping)
            return;
        for (int i = 0; i < 10 && !stopping; ++i) {
            keyPortWrite(kReadEvent);
            sleepMs(2);
            const unsigned char code = CSetParam::GetKey();
            if (code == 0)
                break;
            AppendAndWake(code);
            // A knob step ends the burst: the next step may merge with it.
            if (code == 0xFA || code == 0xF5)
                break;
        }
        keyPortWrite(kClearInts);
        sleepMs(2);
        keyPortWrite(kClearInts);
        sleepMs(2);
        // The grid starts again after the read-out.
        clock_gettime(CLOCK_MONOTONIC, &next);
    }
}

void CKeyQThread::SetlockKey(unsigned char key, bool lock)
{
    for (Key_Map& e : KeyMap)
        if (e.key == key && key != Key_Null)
            e.IsLock = lock;
}

bool CKeyQThread::GetlockKey(unsigned char key)
{
    const Key_Map* e = EntryOfKey(key);
    return e && e->IsLock;
}

bool CKeyQThread::IsKeylock()
{
    for (const Key_Map& e : KeyMap)
        if (e.key < Key_MAX && e.IsLock)
            return true;
    return false;
}

QString CKeyQThread::GetAlllockKey()
{
    QString s;
    for (int k = Key_Start; k <= Key_Backspace; ++k)
        s += GetlockKey(static_cast<unsigned char>(k)) ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

void CKeyQThread::unlockALLKey()
{
    for (Key_Map& e : KeyMap)
        if (e.key < Key_MAX)
            e.IsLock = false;
}

void CKeyQThread::lockALLKey()
{
    for (Key_Map& e : KeyMap)
        if (e.key < Key_MAX)
            e.IsLock = true;
}
