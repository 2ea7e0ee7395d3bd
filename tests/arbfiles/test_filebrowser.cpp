// The file browser's services and the list editor of Uidata: real files
// inside the simulated root, the library protected, nothing outside the
// storage places touched, no shell.
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include "WaveView/CWaveGreate.h"
#include "tests/arbfiles/arbfile_helpers.h"
#include "WaveView/arbwavedata.h"
#include "platform/shellrunner.h"
#include "tests/common/controller_fixture.h"

using namespace arbtest;

namespace {

class FileBrowser : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        QCoreApplication::processEvents();
        ASSERT_TRUE(installLibrary(dir.path()));
        ui = &ctrl->ui();
        ShellRunner::clearRecorded();
    }
    void TearDown() override
    {
        for (const QString& c : ShellRunner::recorded())
            EXPECT_FALSE(c.contains("rm ") || c.contains("cp ") || c.contains("ln ") || c.contains("mkdir"))
                << c.toStdString();
        ControllerTest::TearDown();
    }
    QString host(const QString& board) { return dir.path() + board; }
    int lastTip(QSignalSpy& spy) { return spy.isEmpty() ? -1 : spy.last()[1].toInt(); }

    Uidata* ui = nullptr;
};

const QString kUser = "/run/media/mmcblk0p1";
const QString kAcos = "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv";

// The screens refuse changes in the library itself (test_file_browser.cpp);
// the links under /media/ram that show it translated are the library too.
TEST_F(FileBrowser, LibraryIsProtectedThroughItsTranslatedLinks)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    QVariantList pairs;
    pairs << QVariant(QVariantList {"AntiTrigonome", "Inverse"});
    ctrl->SetArbDir(pairs);
    EXPECT_TRUE(ui->isInSysFolder("/media/ram/Inverse/ACos.bsv"));
    EXPECT_FALSE(ui->isInSysFolder(kUser + "/x.csv"));
    EXPECT_FALSE(ui->rmfile("/media/ram/Inverse/ACos.bsv"));
    EXPECT_EQ(lastTip(tips), int(TIPS_PROTECT_WAREN));
    EXPECT_FALSE(ui->rmdir("/media/ram/Inverse"));
    EXPECT_FALSE(ui->deleteDirectory("/usr/share/ArbWaveLib"));
    EXPECT_TRUE(QFile::exists(host(kAcos)));
}

TEST_F(FileBrowser, PathsOutsideTheStoragePlacesAreRefused)
{
    ASSERT_TRUE(write(host("/home/root/keep.txt"), "keep"));
    EXPECT_FALSE(ui->rmfile("/home/root/keep.txt"));
    EXPECT_FALSE(ui->rmfile(kUser + "/../../../home/root/keep.txt"));
    EXPECT_FALSE(ui->rmdir(kUser)); // the storage root itself
    EXPECT_FALSE(ui->deleteDirectory(kUser + "/.."));
    // A link in the storage that leads out of it is not followed.
    ASSERT_TRUE(QFile::link(host("/home/root"), host(kUser + "/out")));
    EXPECT_FALSE(ui->rmfile(kUser + "/out/keep.txt"));
    EXPECT_TRUE(ui->newCsvFile(kUser + "/out").isEmpty());
    EXPECT_FALSE(ui->rename(kUser + "/x.csv", "../y.csv", false));
    EXPECT_TRUE(QFile::exists(host("/home/root/keep.txt")));
    EXPECT_FALSE(QFile::exists(host("/home/root/List1.csv")));
}

TEST_F(FileBrowser, CreateRenameCopyAndRemoveInTheStorage)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    const QString folder = ui->newfolder("file://" + kUser);
    ASSERT_EQ(folder, kUser + "/NewFolder1");
    EXPECT_TRUE(QFileInfo(host(folder)).isDir());
    const QString csv = ui->newCsvFile(folder);
    ASSERT_EQ(csv, folder + "/List1.csv");
    EXPECT_EQ(read(host(csv)), QByteArray("[HEAD]:44\r\n[FREQ-POINTS]:1\r\n1.000000\r\n"));
    EXPECT_EQ(ui->newCsvFile(folder), folder + "/List2.csv");

    EXPECT_TRUE(ui->renameFile(csv, "Mine.csv"));
    EXPECT_EQ(lastTip(tips), int(TIPS_RENAME_OK));
    EXPECT_TRUE(QFile::exists(host(folder + "/Mine.csv")));
    EXPECT_FALSE(ui->renameFile(folder + "/Mine.csv", "List2.csv")); // taken
    EXPECT_EQ(lastTip(tips), int(TIPS_RENAME_ERROR));
    EXPECT_TRUE(ui->renameFolder(folder, "Waves"));

    // A library wave copied into the storage, then a whole folder.
    ui->cpyRequest("file://" + kAcos, false);
    EXPECT_FALSE(ui->cpypstProcess("/usr/share/ArbWaveLib/Maths"));
    EXPECT_TRUE(ui->cpypstProcess(kUser + "/Waves"));
    EXPECT_EQ(lastTip(tips), int(TIPS_COPY_OK));
    EXPECT_EQ(read(host(kUser + "/Waves/ACos.bsv")), read(host(kAcos)));
    EXPECT_FALSE(ui->cpypstProcess(kUser + "/Waves")); // no silent overwrite
    ui->cpyRequest("/usr/share/ArbWaveLib/Window", true);
    EXPECT_TRUE(ui->cpypstProcess(kUser));
    EXPECT_TRUE(QFile::exists(host(kUser + "/Window/Hann.bsv")));
    ui->cpyRequest(kUser + "/Waves", true);
    EXPECT_FALSE(ui->cpypstProcess(kUser + "/Waves")); // never into itself
    EXPECT_TRUE(ui->copyDirectoryFiles(kUser + "/Window", "/media/usbdisk/W", false));
    EXPECT_TRUE(QFile::exists(host("/media/usbdisk/W/Hann.bsv")));

    // Removing a folder removes a link inside it, not the link's target.
    ASSERT_TRUE(QFile::link(host("/usr/share/ArbWaveLib/Noise"), host(kUser + "/Waves/noise")));
    EXPECT_TRUE(ui->rmdir(kUser + "/Waves"));
    EXPECT_EQ(lastTip(tips), int(TIPS_DELETE_OK));
    EXPECT_FALSE(QFile::exists(host(kUser + "/Waves")));
    EXPECT_TRUE(QFile::exists(host("/usr/share/ArbWaveLib/Noise/Pink.bsv")));
    EXPECT_TRUE(ui->remove(kUser + "/Window/Hann.bsv", false));
    EXPECT_FALSE(ui->remove(kUser + "/Window/Hann.bsv", false));
    EXPECT_EQ(lastTip(tips), int(TIPS_DELETE_ERROR));
}

TEST_F(FileBrowser, ListEditorEditsTheChannelsList)
{
    SWaveMem* w = CWaveCreate::GetWaveMem(CH2);
    w->ListLen = 2;
    w->List[0] = 10;
    w->List[1] = 20;
    QSignalSpy edited(ui, &Uidata::editlistChanged);
    QSignalSpy reload(ui, &Uidata::listfreqUpdate);
    EXPECT_EQ(ui->loadList(CH2), 2);
    EXPECT_EQ(ui->editlist.size(), 2);
    EXPECT_EQ(ui->listEditorAdd(CH2, 2), 2);
    EXPECT_EQ(w->ListLen, 3);
    EXPECT_DOUBLE_EQ(w->List[2], 1000.0);
    EXPECT_TRUE(ui->setlistEditorValue(CH2, 0, 15));
    EXPECT_EQ(ui->listEditorMoveDown(CH2, 0), 1);
    EXPECT_EQ(ui->listEditorMoveUp(CH2, 2), 1);
    EXPECT_EQ(ui->listEditorMoveUp(CH2, 0), 0); // already first
    EXPECT_TRUE(ui->listEditorDelete(CH2, 0));
    EXPECT_FALSE(ui->listEditorDelete(CH2, 5));
    ASSERT_EQ(w->ListLen, 2);
    EXPECT_DOUBLE_EQ(w->List[0], 1000.0);
    EXPECT_DOUBLE_EQ(w->List[1], 15.0);
    EXPECT_EQ(ui->editlist.size(), 2);
    EXPECT_EQ(ui->editlist[1].toString(), ArbWaveData::listText(15));
    EXPECT_EQ(reload.count(), 5);
    EXPECT_GE(edited.count(), 6);
    ASSERT_EQ(reload.last()[0].toInt(), int(CH2));

    EXPECT_TRUE(ui->savelist(CH2, "file://" + kUser + "/ed.csv"));
    EXPECT_EQ(read(host(kUser + "/ed.csv")),
              QByteArray("[HEAD]:44\r\n[FREQ-POINTS]:2\r\n1000.000000\r\n15.000000\r\n"));
    EXPECT_FALSE(ui->savelist(CH2, "/usr/share/ArbWaveLib/ed.csv"));
    EXPECT_FALSE(ui->savelist(CH2, "/home/root/ed.csv"));
    EXPECT_FALSE(QFile::exists(host("/home/root/ed.csv")));
}

TEST_F(FileBrowser, StorageAndFilters)
{
    EXPECT_EQ(ui->getFileTypeFilter(CH1), QStringList({"*.bsv", "*.csv"}));
    ctrl->chSignalSelected(CH1, 2, 0, false, 0); // a sweep: its browser offers lists
    // A list received remotely ("CH2_List_L") is shown beside the csv lists.
    ASSERT_TRUE(write(host("/run/media/mmcblk0p1/CH2_List_L"), "x") && write(host("/run/media/mmcblk0p1/w.bsv"), "x"));
    const QVariantList shown = ui->browseFolder("file:///run/media/mmcblk0p1", ui->getFileTypeFilter(CH1));
    QStringList files;
    for (const QVariant& e : shown)
        if (!e.toMap().value("isDir").toBool())
            files << e.toMap().value("name").toString();
    EXPECT_EQ(files, QStringList({"CH2_List_L"}));
    EXPECT_TRUE(ui->listFileType(CH1));
    EXPECT_FALSE(ui->listFileType(7));
    EXPECT_FALSE(ui->getMemInfo(STORAGE_USER).isEmpty());
    EXPECT_EQ(ui->storageUser(CH1), QString("file:///run/media/mmcblk0p1"));
    EXPECT_EQ(ui->storageExternal(CH1), QString()); // empty mount point: no disk
    ASSERT_TRUE(write(host("/media/usbdisk/a.bsv"), "x"));
    EXPECT_EQ(ui->storageExternal(CH1), QString("file:///media/usbdisk"));
}

} // namespace
