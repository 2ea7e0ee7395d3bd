// The file browser of a channel's file entry on the real screens: what it
// lists in each storage, the operations it refuses (the built-in library, a
// name that leaves its storage), the list editor's limit and a USB disk
// pulled out while it is shown.
#include <QSignalSpy>
#include "WaveView/CWaveGreate.h"
#include "tests/utilityscreens/utility_fixture.h"

namespace {
const char kUser[] = "/run/media/mmcblk0p1";
const char kUsb[] = "/media/usbdisk";
const char kLib[] = "/usr/share/ArbWaveLib";

QStringList names(const QVariant& entries)
{
    QStringList out;
    for (const QVariant& e : entries.toList())
        out << e.toMap().value("name").toString();
    return out;
}
} // namespace

class BrowserScreen : public UtilityScreens {
protected:
    void SetUp() override
    {
        writeFile(QString(kLib) + "/Common/Sinc.bsv", "library wave");
        writeFile(QString(kUser) + "/wave1.bsv", "user wave");
        writeFile(QString(kUser) + "/list1.csv", "[HEAD]:44\r\n[FREQ-POINTS]:1\r\n1000.000000\r\n");
        writeFile(QString(kUser) + "/notes.txt", "not a wave");
        UtilityScreens::SetUp();
        fb = obj("filebrowser");
        ASSERT_NE(fb, nullptr);
    }
    // Opens the browser as the arbitrary-wave entry of channel 1 does.
    void openFor(int paramindex)
    {
        call(obj("vk"), "updateKeyBoard", {QStringLiteral("fileBrowse"), 0, paramindex});
        settle();
    }
    QObject* fb = nullptr;
};

TEST_F(BrowserScreen, OpensWithTheKeyboardAndListsEachStorage)
{
    openFor(PARAM_INDEX_ARBFILE);
    ASSERT_TRUE(fb->property("visible").toBool());
    // The library, under the names the screens give its folders.
    EXPECT_EQ(fb->property("state").toString(), QStringLiteral("buildinArb"));
    EXPECT_TRUE(names(fb->property("entries")).contains(QStringLiteral("常用")))
        << names(fb->property("entries")).join(',').toStdString();
    // The internal storage: wave files, not other files.
    EXPECT_TRUE(call(fb, "setStorage", {1}).toBool());
    EXPECT_EQ(fb->property("state").toString(), QStringLiteral("userArb"));
    EXPECT_EQ(names(fb->property("entries")), (QStringList {"list1.csv", "wave1.bsv"}));
    // No USB disk: refused with its tip, the browser stays where it was.
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    EXPECT_FALSE(call(fb, "setStorage", {2}).toBool());
    EXPECT_NE(fb->property("place").toInt(), 2);
    ASSERT_GE(tips.count(), 1);
    EXPECT_EQ(tips.last().at(1).toInt(), int(TIPS_USB_DISK_NOAVALID));
    // A panel key reaches it through the keyboard: Down highlights the next
    // file, Cancel closes.
    call(fb, "setStorage", {1});
    const int before = fb->property("current").toInt();
    key(Key_Down);
    EXPECT_NE(fb->property("current").toInt(), before);
    key(Key_Cancel);
    EXPECT_FALSE(fb->property("visible").toBool());
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(BrowserScreen, RefusesEveryChangeInTheBuiltInLibrary)
{
    openFor(PARAM_INDEX_ARBFILE);
    ASSERT_EQ(fb->property("state").toString(), QStringLiteral("buildinArb"));
    ASSERT_FALSE(fb->property("writable").toBool());
    call(fb, "selectName", {QStringLiteral("常用")});
    ASSERT_TRUE(call(fb, "choose").toBool()); // into the folder
    ASSERT_TRUE(names(fb->property("entries")).contains(QStringLiteral("Sinc.bsv")))
        << names(fb->property("entries")).join(',').toStdString();
    call(fb, "selectName", {QStringLiteral("Sinc.bsv")});
    EXPECT_FALSE(call(fb, "removeSelected").toBool());
    EXPECT_FALSE(call(fb, "renameSelected", {QStringLiteral("x.bsv")}).toBool());
    EXPECT_FALSE(call(fb, "newFile").toBool());
    EXPECT_FALSE(call(fb, "newFolder").toBool());
    // A copy out of the library is fine; pasting into it is not.
    EXPECT_TRUE(call(fb, "copySelected").toBool());
    EXPECT_FALSE(call(fb, "paste").toBool());
    EXPECT_TRUE(exists(QString(kLib) + "/Common/Sinc.bsv"));
    EXPECT_EQ(QDir(host(QString(kLib) + "/Common")).entryList(QDir::Files), QStringList {"Sinc.bsv"});
    EXPECT_FALSE(exists(QString(kLib) + "/Common/x.bsv"));
    // The copy goes into the internal storage.
    call(fb, "setStorage", {1});
    EXPECT_TRUE(call(fb, "paste").toBool());
    EXPECT_TRUE(exists(QString(kUser) + "/Sinc.bsv"));
}

TEST_F(BrowserScreen, NamesThatLeaveTheirStorageAreRefused)
{
    openFor(PARAM_INDEX_ARBFILE);
    call(fb, "setStorage", {1});
    call(fb, "selectName", {QStringLiteral("wave1.bsv")});
    for (const char* bad : {"../escaped.bsv", "../../home/root/settings.ini", "sub/x.bsv", "..", ""})
        EXPECT_FALSE(call(fb, "renameSelected", {QString::fromLatin1(bad)}).toBool()) << bad;
    EXPECT_TRUE(exists(QString(kUser) + "/wave1.bsv"));
    EXPECT_FALSE(exists("/run/media/escaped.bsv"));
    // Up stops at the storage's root; a folder outside is never listed.
    EXPECT_FALSE(call(fb, "up").toBool());
    EXPECT_TRUE(ctrl->ui().browseFolder(QStringLiteral("file:///run/media/mmcblk0p1/../../../etc"), {}).isEmpty());
    EXPECT_TRUE(ctrl->ui().browseFolder(QStringLiteral("file:///home/root"), {}).isEmpty());
    // A link inside the storage that leads out of it is not shown.
    ASSERT_TRUE(QFile::link(host("/home/root"), host(QString(kUser) + "/outside")));
    call(fb, "refresh");
    EXPECT_FALSE(names(fb->property("entries")).contains(QStringLiteral("outside")));
    // A plain new name works.
    EXPECT_TRUE(call(fb, "renameSelected", {QStringLiteral("renamed.bsv")}).toBool());
    EXPECT_TRUE(exists(QString(kUser) + "/renamed.bsv"));
}

TEST_F(BrowserScreen, TheListEditorAddsNothingAt2048Entries)
{
    ctrl->chSignalSelected(CH1, 2, 0, false, 0); // a sweep: its browser offers lists
    openFor(PARAM_INDEX_MODLISTFILE);
    EXPECT_EQ(fb->property("place").toInt(), 1); // no lists in the library
    EXPECT_EQ(fb->property("state").toString(), QStringLiteral("userList"));
    EXPECT_EQ(names(fb->property("entries")), QStringList {"list1.csv"});
    call(fb, "selectName", {QStringLiteral("list1.csv")});
    ASSERT_TRUE(call(fb, "openEditor").toBool());
    EXPECT_EQ(fb->property("state").toString(), QStringLiteral("editList"));

    SWaveMem* w = CWaveCreate::GetWaveMem(CH1);
    w->ListLen = 2047;
    for (int i = 0; i < 2047; ++i)
        w->List[i] = 1000 + i;
    ctrl->ui().loadList(0);
    fb->setProperty("editIndex", 10);
    // One more fits ...
    EXPECT_TRUE(call(fb, "editorAdd").toBool());
    EXPECT_EQ(w->ListLen, 2048);
    EXPECT_EQ(ctrl->ui().editlist.size(), 2048);
    // ... and at 2048 the add does nothing at all.
    QSignalSpy changed(&ctrl->ui(), &Uidata::editlistChanged);
    const double last = w->List[2047];
    EXPECT_FALSE(call(fb, "editorAdd").toBool());
    EXPECT_EQ(w->ListLen, 2048);
    EXPECT_EQ(ctrl->ui().editlist.size(), 2048);
    EXPECT_EQ(w->List[2047], last);
    EXPECT_EQ(changed.count(), 0);
    // A value typed on the panel replaces the selected entry.
    fb->setProperty("editIndex", 3);
    for (int k : {Key_2, Key_5, Key_Ok})
        key(k);
    EXPECT_DOUBLE_EQ(w->List[3], 25.0);
}

TEST_F(BrowserScreen, AUsbDiskPulledOutWhileShownClosesTheBrowser)
{
    writeFile(QString(kUsb) + "/disk.bsv", "usb wave");
    ctrl->SysTimer_Slots(); // the disk is noticed
    settle();
    openFor(PARAM_INDEX_ARBFILE);
    ASSERT_TRUE(call(fb, "setStorage", {2}).toBool());
    EXPECT_EQ(names(fb->property("entries")), QStringList {"disk.bsv"});
    ASSERT_TRUE(fb->property("visible").toBool());
    ASSERT_TRUE(QDir(host(kUsb)).removeRecursively());
    ctrl->SysTimer_Slots();
    settle();
    EXPECT_FALSE(fb->property("visible").toBool());
    EXPECT_FALSE(obj("vk")->property("visible").toBool());
}
