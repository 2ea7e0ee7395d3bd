// The screens' objects are read, written and searched only in their own
// thread: the controller's thread (and the tick's) asks there and waits, so
// the QML engine never runs in two threads at once. A GUI thread that does
// not answer costs a bounded wait, never a hang.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>
#include <QVariant>
#include <atomic>
#include <functional>
#include "app/qmlcall.h"

namespace {

// Stands for a screen object: records the thread of every access.
class ScreenItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(int current READ current WRITE setCurrent)
public:
    int current()
    {
        readIn = QThread::currentThread();
        return value;
    }
    void setCurrent(int v)
    {
        writtenIn = QThread::currentThread();
        value = v;
    }
    int value = 7;
    QThread* readIn = nullptr;
    QThread* writtenIn = nullptr;
};

// Runs f in a thread of its own while this (the GUI) thread serves events.
void fromOtherThread(const std::function<void()>& f)
{
    std::atomic<bool> done {false};
    QThread* t = QThread::create([&] {
        f();
        done = true;
    });
    t->start();
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    t->wait();
    delete t;
}

class ScreenAccess : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The GUI thread's event loop is this thread's; it needs the
        // application object (the GUI one, as the controller tests of this
        // program expect it).
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        if (!QCoreApplication::instance())
            new QGuiApplication(argc, argv);
    }
};

} // namespace

TEST_F(ScreenAccess, APropertyAskedFromAnotherThreadIsReadAndWrittenInTheObjectsThread)
{
    ScreenItem item;
    QVariant got;
    fromOtherThread([&] {
        got = qmlProperty(&item, "current");
        qmlSetProperty(&item, "current", 3);
    });
    EXPECT_EQ(got.toInt(), 7);
    EXPECT_EQ(item.value, 3);
    EXPECT_EQ(item.readIn, QThread::currentThread());
    EXPECT_EQ(item.writtenIn, QThread::currentThread());
}

TEST_F(ScreenAccess, AChildIsSearchedInTheObjectsThread)
{
    ScreenItem root;
    auto* view = new ScreenItem;
    view->setObjectName("inputlistview");
    view->setParent(&root);
    QObject* found = nullptr;
    QObject* missing = &root;
    fromOtherThread([&] {
        found = qmlChild(&root, "inputlistview");
        missing = qmlChild(&root, "nosuchview");
    });
    EXPECT_EQ(found, view);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(ScreenAccess, InTheObjectsOwnThreadTheAccessIsDirect)
{
    ScreenItem item;
    EXPECT_EQ(qmlProperty(&item, "current").toInt(), 7);
    qmlSetProperty(&item, "current", 5);
    EXPECT_EQ(item.value, 5);
    EXPECT_EQ(item.readIn, QThread::currentThread());
    EXPECT_FALSE(qmlProperty(nullptr, "current").isValid());
    EXPECT_EQ(qmlChild(nullptr, "x"), nullptr);
}

TEST_F(ScreenAccess, AGuiThreadThatDoesNotAnswerGivesNoValueInsteadOfAHang)
{
    // This thread serves no events while the other one asks.
    ScreenItem item;
    QVariant got = 1;
    QThread* t = QThread::create([&] { got = qmlProperty(&item, "current"); });
    t->start();
    ASSERT_TRUE(t->wait(15000));
    delete t;
    EXPECT_FALSE(got.isValid());
    EXPECT_EQ(item.readIn, nullptr);
    // The late request is served harmlessly once events run again.
    QCoreApplication::processEvents();
    EXPECT_EQ(item.readIn, QThread::currentThread());
}

#include "test_screen_access.moc"
