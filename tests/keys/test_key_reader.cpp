// The key reader's map, event ring, knob merging, long press and locks,
// driven without its threads.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QSignalSpy>
#include "hardware/ckeyqthread.h"
#include "param/global.h"
#include "param/systype.h"

namespace {
int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};
} // namespace

class KeyReader : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QCoreApplication::instance())
            new QGuiApplication(argc, argv); // the dispatch tests of this program need the GUI one
    }
    void SetUp() override
    {
        pc_lock = false;
        keyLockRemoteMode = false;
        reader = new CKeyQThread(false);
    }
    void TearDown() override
    {
        delete reader;
        pc_lock = false;
        keyLockRemoteMode = false;
    }
    // The keys SendKey handed on, as (key, repeat, where).
    static QList<QList<int>> sent(const QSignalSpy& spy)
    {
        QList<QList<int>> out;
        for (const QList<QVariant>& a : spy)
            out << QList<int> {a[0].toInt(), a[1].toInt(), a[2].toInt()};
        return out;
    }
    CKeyQThread* reader = nullptr;
};

TEST_F(KeyReader, MapsThePanelScanCodesAndLeavesCancelOutOfReach)
{
    EXPECT_EQ(CKeyQThread::KeyMap[21].key, Key_Sine);
    EXPECT_STREQ(CKeyQThread::KeyMap[21].name, "SINe");
    EXPECT_EQ(CKeyQThread::KeyMap[75].key, Key_Ch4);
    EXPECT_EQ(CKeyQThread::KeyMap[122].key, Key_Up);
    EXPECT_TRUE(CKeyQThread::KeyMap[5].IsLongPress);
    EXPECT_FALSE(CKeyQThread::KeyMap[21].IsLongPress);
    // Cancel sits beyond what a 7-bit code selects.
    EXPECT_EQ(CKeyQThread::KeyMap[224].key, Key_Cancel);
    EXPECT_EQ(CKeyQThread::KeyMap[224 & 0x7F].key, Key_Null);
    // Unmapped codes (and the "null" entry) never enter the queue.
    EXPECT_FALSE(reader->AppendOnekey(0x80 | 96));
    EXPECT_FALSE(reader->AppendOnekey(0x80 | 127));
    EXPECT_EQ(reader->QueuedKeys(), 0);
}

TEST_F(KeyReader, TheRingHoldsThreeEventsAndDropsTheRest)
{
    EXPECT_TRUE(reader->AppendOnekey(0x80 | 21));
    EXPECT_TRUE(reader->AppendOnekey(21));
    EXPECT_TRUE(reader->AppendOnekey(0x80 | 31));
    EXPECT_FALSE(reader->AppendOnekey(31));
    EXPECT_EQ(reader->QueuedKeys(), 3);
    unsigned char code = 0;
    int repeat = 0;
    const unsigned char expected[3] = {0x80 | 21, 21, 0x80 | 31};
    for (unsigned char e : expected) {
        ASSERT_TRUE(reader->TakeOneKey(&code, &repeat));
        EXPECT_EQ(code, e);
        EXPECT_EQ(repeat, 1);
    }
    EXPECT_FALSE(reader->TakeOneKey(&code, &repeat));
    // The freed nodes take new events.
    EXPECT_TRUE(reader->AppendOnekey(0x80 | 41));
    EXPECT_EQ(reader->QueuedKeys(), 1);
}

TEST_F(KeyReader, KnobStepsMergeIntoTheNewestEvent)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(reader->AppendOnekey(0xFA));
    EXPECT_EQ(reader->QueuedKeys(), 1);
    // A turn the other way, and a key between steps, start new events.
    EXPECT_TRUE(reader->AppendOnekey(0xF5));
    EXPECT_TRUE(reader->AppendOnekey(0xF5));
    EXPECT_TRUE(reader->AppendOnekey(0x80 | 21));
    EXPECT_FALSE(reader->AppendOnekey(0xF5)); // full: not merged into an older event
    unsigned char code = 0;
    int repeat = 0;
    ASSERT_TRUE(reader->TakeOneKey(&code, &repeat));
    EXPECT_EQ(code, 0xFA);
    EXPECT_EQ(repeat, 3);
    ASSERT_TRUE(reader->TakeOneKey(&code, &repeat));
    EXPECT_EQ(code, 0xF5);
    EXPECT_EQ(repeat, 2);

    QSignalSpy spy(reader, QOverload<int, int, int>::of(&CKeyQThread::SendKey));
    reader->HandleEvent(0xFA, 3);
    EXPECT_EQ(sent(spy), (QList<QList<int>> {{Key_Up, 3, KEY_FROM_FRONT_PANEL}}));
}

TEST_F(KeyReader, OkIsShortOnReleaseOrLongAfterTheIdleWait)
{
    QSignalSpy spy(reader, QOverload<int, int, int>::of(&CKeyQThread::SendKey));
    reader->HandleEvent(0x85, 1);
    EXPECT_TRUE(spy.isEmpty());
    EXPECT_TRUE(reader->LongPressPending());
    reader->HandleEvent(0x05, 1);
    EXPECT_EQ(sent(spy), (QList<QList<int>> {{Key_Ok, 1, KEY_FROM_FRONT_PANEL}}));

    spy.clear();
    reader->HandleEvent(0x85, 1);
    reader->IdleTimeout();
    reader->HandleEvent(0x05, 1); // the release after a long press is no OK
    reader->IdleTimeout();
    EXPECT_EQ(sent(spy), (QList<QList<int>> {{Key_Ok | 0x80, 1, KEY_FROM_FRONT_PANEL}}));

    // Other keys act on the press; their release is nothing.
    spy.clear();
    reader->HandleEvent(0x80 | 21, 1);
    reader->HandleEvent(21, 1);
    reader->IdleTimeout();
    EXPECT_EQ(sent(spy), (QList<QList<int>> {{Key_Sine, 1, KEY_FROM_FRONT_PANEL}}));
}

TEST_F(KeyReader, ALockedKeyWarnsAndIsNotHandedOn)
{
    QSignalSpy keys(reader, QOverload<int, int, int>::of(&CKeyQThread::SendKey));
    QSignalSpy warn(reader, &CKeyQThread::WarnBeep);
    QSignalSpy tips(reader, &CKeyQThread::TipsMessage);
    // The lock word and the warning beep over VXI-11: FrontPanel.LockedKeyWarnsAndChangesNothing.
    reader->SetlockKey(Key_Sine, true);
    EXPECT_TRUE(reader->IsKeylock());

    reader->HandleEvent(0x80 | 21, 1);
    EXPECT_TRUE(keys.isEmpty());
    ASSERT_EQ(warn.size(), 1);
    EXPECT_EQ(warn[0][0].toInt(), KEY_FROM_FRONT_PANEL);
    ASSERT_EQ(tips.size(), 1);
    EXPECT_EQ(tips[0][0].toInt(), MESSAGE_TYPE_TIPS);
    EXPECT_EQ(tips[0][1].toInt(), TIPS_KEY_LOCKED_ERROR);
    EXPECT_FALSE(tips[0][2].toBool());
    EXPECT_TRUE(tips[0][3].toString().isEmpty());

    reader->lockALLKey();
    EXPECT_EQ(reader->GetAlllockKey(), QString(37, QLatin1Char('1')));
    reader->unlockALLKey();
    EXPECT_EQ(reader->GetAlllockKey(), QString(37, QLatin1Char('0')));
    EXPECT_FALSE(reader->IsKeylock());
    reader->HandleEvent(0x80 | 21, 1);
    EXPECT_EQ(keys.size(), 1);
}

// Utility through the remote lock: FrontPanel (tests/clients). Once key locks
// are in use it is a locked key like any other.
TEST_F(KeyReader, UtilityIsLockedLikeAnyKeyOnceKeyLocksAreInUse)
{
    QSignalSpy keys(reader, QOverload<int, int, int>::of(&CKeyQThread::SendKey));
    QSignalSpy warn(reader, &CKeyQThread::WarnBeep);
    pc_lock = true;
    keyLockRemoteMode = true;
    reader->lockALLKey();
    reader->HandleEvent(0x80 | 65, 1);
    EXPECT_TRUE(keys.isEmpty());
    EXPECT_EQ(warn.size(), 1);
}
