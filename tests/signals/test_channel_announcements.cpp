// What a channel announces to its controller: signals instead of calls into
// the controller, and the connector check it is handed. Channels here have no
// controller at all.
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"

Q_DECLARE_METATYPE(CH_ID)

class ChannelAnnouncements : public SignalTest {
protected:
    void SetUp() override
    {
        qRegisterMetaType<CH_ID>("CH_ID");
        SignalTest::SetUp();
    }
};

TEST_F(ChannelAnnouncements, OutputSwitchAnnouncesTheChannelAndItsSyncOutputFollower)
{
    QSignalSpy sw(chan[CH1].get(), &Channel::switchDisplayChanged);
    QSignalSpy applied(chan[CH3].get(), &Channel::signalUpdated);
    sys_param::ch(CH1).SyncOut = 1;
    sys_param::SetChOnOff(CH1, 1);
    chan[CH1]->OutPutChanged();
    ASSERT_EQ(sw.count(), 2);
    EXPECT_EQ(sw.at(0).at(0).value<CH_ID>(), CH1);
    EXPECT_TRUE(sw.at(0).at(1).toBool());
    // CH3 carries CH1's sync output and is switched with it.
    EXPECT_EQ(sw.at(1).at(0).value<CH_ID>(), CH3);
    EXPECT_TRUE(sw.at(1).at(1).toBool());
    EXPECT_NE(sys_param::GetChOnOff(CH3), 0);
    EXPECT_EQ(applied.count(), 1) << "CH3 is applied again";
    // And switched off with it.
    sys_param::SetChOnOff(CH1, 0);
    chan[CH1]->OutPutChanged();
    EXPECT_EQ(sys_param::GetChOnOff(CH3), 0);
}

TEST_F(ChannelAnnouncements, ADeniedConnectorKeepsTheOutputOffAndAnnouncesNothing)
{
    QString asked;
    chan[CH2]->conflictCheck = [&](CH_ID ch, QString& names) {
        asked = QString::number(int(ch));
        names = QStringLiteral("CH1");
        return true;
    };
    QSignalSpy sw(chan[CH2].get(), &Channel::switchDisplayChanged);
    QSignalSpy tips(chan[CH2].get(), &Channel::sendTipsMessage);
    sys_param::SetChOnOff(CH2, 1);
    chan[CH2]->OutPutChanged();
    EXPECT_EQ(asked, QString::number(int(CH2)));
    EXPECT_EQ(sys_param::GetChOnOff(CH2), 0);
    EXPECT_EQ(sw.count(), 0);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(3).toString(), QStringLiteral("CH1"));
}

TEST_F(ChannelAnnouncements, CopyInversionAndSyncOutputAreAnnouncedForTheirChannel)
{
    QSignalSpy copy(chan[CH4].get(), &Channel::copyRequested);
    QSignalSpy rev(chan[CH4].get(), &Channel::reverseDisplayChanged);
    QSignalSpy sync(chan[CH2].get(), &Channel::syncOutputChanged);
    chan[CH4]->CopyClicked();
    chan[CH4]->InversionChanged();
    chan[CH2]->SyncOutChanged();
    ASSERT_EQ(copy.count(), 1);
    EXPECT_EQ(copy.at(0).at(0).value<CH_ID>(), CH4);
    ASSERT_EQ(rev.count(), 1);
    EXPECT_EQ(rev.at(0).at(0).value<CH_ID>(), CH4);
    ASSERT_EQ(sync.count(), 1);
    EXPECT_EQ(sync.at(0).at(0).value<CH_ID>(), CH2);
}
