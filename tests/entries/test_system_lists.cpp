// The system entries with the controller present: list order of the system
// and network pages, preset files, address entries.
#include <gtest/gtest.h>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/channalmodel_sys.h"
#include "app/ornav72.h"
#include "tests/common/controller_fixture.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

class SystemLists : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        sysInputParaInit(list, syslist, lanlist);
    }
    void TearDown() override
    {
        qDeleteAll(list);
        ControllerTest::TearDown();
    }
    channelModel* E(int index) { return list.at(index - PARAM_INDEX_SYS_START); }
    static int indexOf(const QVariant& v) { return qobject_cast<channelModel*>(v.value<QObject*>())->paramindex; }

    QList<channelModel*> list;
    QList<QVariant> syslist, lanlist;
};

TEST_F(SystemLists, EntriesInIndexOrderAndThePagesInTheirOwnOrder)
{
    ASSERT_EQ(list.size(), int(PARAM_INDEX_TOTAL - PARAM_INDEX_SYS_START));
    for (int i = 0; i < list.size(); ++i)
        EXPECT_EQ(list.at(i)->paramindex, PARAM_INDEX_SYS_START + i);
    EXPECT_EQ(E(PARAM_INDEX_SYSBEEP)->rCh(), CH_SYS);
    EXPECT_EQ(E(PARAM_INDEX_COUNTERLPF)->rCh(), CH_COUNTER);
    EXPECT_EQ(E(PARAM_INDEX_UARTVERIFY)->rCh(), CH_DIGITAL);

    const int sys[] = {75, 76, 77, 78, 79, 80, 82, 81, 83, 85, 84, 86, 87};
    ASSERT_EQ(syslist.size(), 13);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(indexOf(syslist.at(i)), sys[i]) << "position " << i;
    ASSERT_EQ(lanlist.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(indexOf(lanlist.at(i)), 88 + i);
}

TEST_F(SystemLists, FourthPresetOptionWritesPresetFileFour)
{
    channelModel* p = E(PARAM_INDEX_SYSPRESETFILE);
    const QString file4 = PlatformRoot::path(QStringLiteral("/home/root/Param_Preset_4"));
    QFile::remove(file4);
    EXPECT_EQ(p->onKeyEvent(Key_Ok, 0), QString());
    EXPECT_EQ(p->onKeyEvent(3, 0), QStringLiteral("quit"));
    ASSERT_TRUE(QFile::exists(file4));
    EXPECT_EQ(QFileInfo(file4).size(), qint64(sizeof(HardWareInfo)));
    for (int n : {1, 2, 3, 5})
        EXPECT_FALSE(QFile::exists(PlatformRoot::path(QStringLiteral("/home/root/Param_Preset_%1").arg(n))));

    // There are five preset files only.
    Sys_ErrorClear();
    p->onKeyEvent(Key_Ok, 0);
    EXPECT_EQ(p->onKeyEvent(5, 0), QStringLiteral("error"));
    EXPECT_FALSE(QFile::exists(PlatformRoot::path(QStringLiteral("/home/root/Param_Preset_6"))));
    EXPECT_EQ(Sys_ErrorPop(), -801);
}

// The mask entry's refusals: SupervisionTest.MaskEntryRefusesNonContiguousMasks...
TEST_F(SystemLists, AddressEntriesTypeValidateAndStore)
{
    channelModel* ip = E(PARAM_INDEX_SYSIPSET);
    for (int k : {Key_1, Key_9, Key_2})
        EXPECT_EQ(ip->onKeyEvent(k, 0), QString());
    EXPECT_EQ(ip->onKeyEvent(Key_9, 0), QStringLiteral("error")) << "a group has three digits at most";
    ip->onKeyEvent(Key_Dot, 0);
    EXPECT_EQ(ip->onKeyEvent(Key_3, 0), QString());
    EXPECT_EQ(ip->onKeyEvent(Key_0, 0), QString());
    EXPECT_EQ(ip->onKeyEvent(Key_0, 0), QStringLiteral("error")) << "300 is no byte";
    for (int k : {Key_Dot, Key_0, Key_Dot, Key_7})
        ip->onKeyEvent(k, 0);
    EXPECT_EQ(ip->rlistvalue(), QStringLiteral("192.30.0.7"));
    EXPECT_EQ(ip->onKeyEvent(Key_Ok, 0), QStringLiteral("quit"));
    EXPECT_STREQ(sys_param::IP, "192.30.0.7");
}
