// The digital protocol output and the counter display driven through the
// controller and the real screens on a simulated board: channel roles,
// refusals, data entry, the registers the simulated FPGA receives.
#include <QSignalSpy>
#include <QQuickItem>
#include "hardware/CSetParam.h"
#include "hardware/fpga_regs.h"
#include "tests/selection/selection_fixture.h"

namespace {

class DigitalOutput : public Selection {
protected:
    void set(int index, double v)
    {
        ctrl->setValueCmdProcess(CH_DIGITAL, index, v);
        settle();
    }
    channelModel* entry(int index) { return ctrl->GetChModelFormIndex(CH_DIGITAL, index); }
    int role(int ch) const { return ctrl->channelAt(ch)->alterfun; }
    static int tips(const QSignalSpy& spy, int index)
    {
        int n = 0;
        for (const QList<QVariant>& args : spy)
            if (args.at(0).toInt() == MESSAGE_TYPE_TIPS && args.at(1).toInt() == index)
                ++n;
        return n;
    }
    QString pageText() const { return obj("UtilityDigitalSet")->property("inputText").toString(); }
};

TEST_F(DigitalOutput, SpiIsRefusedWhileCh1SyncOutputIsOnButUartIsNot)
{
    ctrl->setValueCmdProcess(CH1, PARAM_INDEX_CHSYNCOUT, 1);
    settle();
    ASSERT_TRUE(sys_param::ch(CH1).SyncOut);
    ASSERT_EQ(role(CH3), CHANNEL_ALTERFUN_SYNCOUT);
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_SPI)); // the output is off: any type is stored
    fpga().clearWrites();

    QSignalSpy spy(ctrl, &Ornav72::TipsMessage);
    EXPECT_FALSE(ctrl->ui().setdigitalSwitch(true));
    settle();
    EXPECT_EQ(tips(spy, TIPS_CONFLICT_WORK_AS_SYNC), 1);
    EXPECT_FALSE(sys_param::digitalSW);
    EXPECT_EQ(role(CH3), CHANNEL_ALTERFUN_SYNCOUT);
    EXPECT_EQ(writesTo(REG_DIG_SW), 0);

    // A request that skips the screen's check is undone by the controller.
    set(PARAM_IDNEX_DIGITALSW, 1);
    EXPECT_FALSE(sys_param::digitalSW);
    EXPECT_EQ(tips(spy, TIPS_CONFLICT_WORK_AS_SYNC), 2);
    EXPECT_EQ(value(REG_DIG_SW, 1), 0u);
    EXPECT_EQ(role(CH2), CHANNEL_ALTERFUN_CLOSED);
    EXPECT_EQ(role(CH4), CHANNEL_ALTERFUN_CLOSED);

    // UART only needs CH4, which CH2's sync output would take.
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_UART));
    EXPECT_TRUE(ctrl->ui().setdigitalSwitch(true));
    settle();
    EXPECT_TRUE(sys_param::digitalSW);
    EXPECT_EQ(value(REG_DIG_SW, 1), 3u);
    EXPECT_EQ(role(CH2), CHANNEL_ALTERFUN_CLOSED);
    EXPECT_EQ(role(CH3), CHANNEL_ALTERFUN_SYNCOUT);
    EXPECT_EQ(role(CH4), CHANNEL_ALTERFUN_DIGITAL);

    // Changing to SPI while on is refused and changes nothing.
    EXPECT_FALSE(ctrl->ui().digitalfunChanged(DIGITAL_SPI));
    EXPECT_EQ(sys_param::HWinfo.digitalType, DIGITAL_UART);
    EXPECT_EQ(tips(spy, TIPS_CONFLICT_WORK_AS_SYNC), 3);
}

TEST_F(DigitalOutput, ChannelRolesFollowTypeAndSwitch)
{
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_SPI));
    ASSERT_TRUE(ctrl->ui().setdigitalSwitch(true));
    settle();
    EXPECT_EQ(role(CH1), CHANNEL_ALTERFUN_CLOSED);
    EXPECT_EQ(role(CH2), CHANNEL_ALTERFUN_DIGITAL);
    EXPECT_EQ(role(CH3), CHANNEL_ALTERFUN_DIGITAL);
    EXPECT_EQ(role(CH4), CHANNEL_ALTERFUN_DIGITAL);
    EXPECT_EQ(value(REG_DIG_SW, 1), 1u);

    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_I2C));
    settle();
    EXPECT_EQ(role(CH2), CHANNEL_ALTERFUN_CLOSED);
    EXPECT_EQ(role(CH3), CHANNEL_ALTERFUN_DIGITAL);
    EXPECT_EQ(value(REG_DIG_SW, 1), 2u);

    EXPECT_TRUE(ctrl->ui().setdigitalSwitch(false));
    settle();
    for (int ch = CH1; ch <= CH4; ++ch)
        EXPECT_EQ(role(ch), CHANNEL_ALTERFUN_CLOSED) << ch;
    EXPECT_EQ(value(REG_DIG_SW, 1), 0u);
}

TEST_F(DigitalOutput, UartExecutionProgramsEveryRegisterAndStreamsTheData)
{
    set(PARAM_IDNEX_DIGITAL_FORMAT, 1);
    ctrl->ui().digtalTextChanged("Hello");
    settle();
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_UART));
    set(PARAM_INDEX_UARTBAUDRATE, 115200);
    set(PARAM_INDEX_UARTDATABITS, 3); // 7 data bits
    set(PARAM_INDEX_UARTSTOPBITS, 1); // 2 stop bits
    set(PARAM_INDEX_UARTVERIFY, 2);   // odd
    set(PARAM_IDNEX_DIGITALSENDINTERVAL, 0.5);
    ASSERT_TRUE(ctrl->ui().setdigitalSwitch(true));
    settle();

    EXPECT_EQ(value(REG_DIG_SW, 1), 3u);
    EXPECT_EQ(value(REG_DIG_TRIG_TYPE, 1), 1u); // manual: automatic sending is off
    EXPECT_EQ(value(REG_DIG_CLK, 4), uint64_t(115200 * ref::W32 / ref::FCLK));
    EXPECT_EQ(value(REG_DIG_INTERVAL, 6), uint64_t(2 * ref::W48F / ref::FCLK));
    EXPECT_EQ(value(REG_DIG_UART_BITS, 1), 3u);
    EXPECT_EQ(value(REG_DIG_UART_PARITY, 1), 1u);
    EXPECT_EQ(value(REG_DIG_UART_STOP, 1), 1u);
    QVector<quint64> data, flags;
    ASSERT_TRUE(fpga().stream("digital", &data));
    ASSERT_TRUE(fpga().stream("digital:flag", &flags));
    EXPECT_EQ(data, QVector<quint64>({'H', 'e', 'l', 'l', 'o'}));
    // Odd parity: the parity bit makes the number of ones odd.
    EXPECT_EQ(flags, QVector<quint64>({1, 1, 1, 1, 1}));

    // New data on a running output is sent out at once.
    ctrl->ui().digtalTextChanged("ab");
    settle();
    ASSERT_TRUE(fpga().stream("digital", &data));
    EXPECT_EQ(data, QVector<quint64>({'a', 'b'}));
}

TEST_F(DigitalOutput, TheTriggerButtonSendsOnlyWhileTheOutputIsOn)
{
    ctrl->ui().channelManulTrigChanged(CH_DIGITAL);
    EXPECT_EQ(writesTo(REG_DIG_MANUAL), 0);
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_UART));
    ASSERT_TRUE(ctrl->ui().setdigitalSwitch(true));
    settle();
    fpga().clearWrites();
    ctrl->ui().channelManulTrigChanged(CH_DIGITAL);
    EXPECT_EQ(writesAt(REG_DIG_MANUAL), QList<uint64_t>({1, 0}));
    EXPECT_EQ(fpga().digitalTriggers(), 1);
}

TEST_F(DigitalOutput, HexTextBecomesBytesAndNonNumbersBecomeZero)
{
    set(PARAM_IDNEX_DIGITAL_FORMAT, 0);
    ctrl->ui().digtalTextChanged("01 ff 7E");
    settle();
    EXPECT_EQ(ctrl->digital().digitalData(), QByteArray("\x01\xff\x7e", 3));
    ctrl->ui().digtalTextChanged("zz 12 0x3c");
    settle();
    EXPECT_EQ(ctrl->digital().digitalData(), QByteArray("\x00\x12\x3c", 3));
    // Text format: the bytes of the text.
    set(PARAM_IDNEX_DIGITAL_FORMAT, 1);
    ctrl->ui().digtalTextChanged("01 ff");
    settle();
    EXPECT_EQ(ctrl->digital().digitalData(), QByteArray("01 ff"));
    EXPECT_EQ(obj("UtilityDigitalSet")->property("hexFormat").toBool(), false);
}

TEST_F(DigitalOutput, RemoteDataIsCutTo2048BytesAndShownAsUpperCaseHex)
{
    QByteArray big(3000, 0);
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    ctrl->digitalRemoteData(big);
    settle();
    ASSERT_EQ(ctrl->digital().digitalData(),
              big.left(2048)); // the bytes kept: DigitalClients.RemoteDataKeepsTheFirst2048Bytes
    const QString shown = pageText();
    EXPECT_EQ(shown.size(), 2048 * 3 - 1);
    EXPECT_TRUE(shown.startsWith("00 07 0E 15 1C"));

    set(PARAM_IDNEX_DIGITAL_FORMAT, 1);
    ctrl->digitalRemoteData("Hi!");
    settle();
    EXPECT_EQ(pageText(), QString("Hi!"));
    EXPECT_EQ(ctrl->digital().digitalData(), QByteArray("Hi!"));
}

TEST_F(DigitalOutput, TheListShowsTheEntriesOfTheType)
{
    auto shownIndices = [this] { return indicesOf(ctrl->ui().digitalSetList); };
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_I2C));
    EXPECT_EQ(shownIndices(),
              QList<int>({PARAM_INDEX_DIGITAL_VALTAGE, PARAM_IDNEX_I2CCLK, PARAM_IDNEX_I2CADDR,
                          PARAM_IDNEX_DIGITALAUTOSEND, PARAM_IDNEX_DIGITAL_FORMAT}));
    set(PARAM_IDNEX_DIGITALAUTOSEND, 1);
    ASSERT_TRUE(ctrl->ui().digitalfunChanged(DIGITAL_UART));
    EXPECT_EQ(shownIndices(),
              QList<int>({PARAM_INDEX_DIGITAL_VALTAGE, PARAM_INDEX_UARTBAUDRATE, PARAM_INDEX_UARTDATABITS,
                          PARAM_INDEX_UARTSTOPBITS, PARAM_INDEX_UARTVERIFY, PARAM_IDNEX_DIGITALAUTOSEND,
                          PARAM_IDNEX_DIGITALSENDINTERVAL, PARAM_IDNEX_DIGITAL_FORMAT}));
    EXPECT_TRUE(obj("UtilityDigitalSet")->property("autoSend").toBool());
}

// ---- the counter ----------------------------------------------------------

class CounterDisplay : public Selection {
protected:
    QString strip() const
    {
        QObject* t = obj("countertext");
        return t ? t->property("text").toString() : QString();
    }
};

TEST_F(CounterDisplay, SwitchingOnProgramsTheFrontEndAndShowsTheInput)
{
    fpga().setCounterInput(12345.678, 25);
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_COUNTERCOUPLING)->SetValue(1, 0);
    settle();
    fpga().clearWrites();
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_COUNTERONOFF)->SetValue(1, 0);
    settle();
    EXPECT_EQ(writesAt(REG_CNT_ON), QList<uint64_t>({1}));
    EXPECT_EQ(writesAt(REG_CNT_COUPLING), QList<uint64_t>({1}));
    EXPECT_EQ(writesTo(REG_CNT_LPF), 1);
    // Trigger level then sensitivity through the counter's offset DAC.
    EXPECT_EQ(writesTo(REG_OFS_DAC), 2);
    EXPECT_TRUE(ctrl->ui().counterTimer.isActive());
    EXPECT_EQ(ctrl->ui().counterTimer.interval(), 1000);
    EXPECT_EQ(obj("counterframe")->property("width").toInt(), 920);

    ctrl->ui().counterUpdate_Slots(); // what the timer runs
    settle();
    EXPECT_NEAR(CSetParam::state.cntFre[CSetParam::VALUE], 12345.678, 1e-3);
    EXPECT_NEAR(CSetParam::state.cntDuty[CSetParam::VALUE], 25, 1e-3);
    EXPECT_TRUE(strip().startsWith(QStringLiteral("频率:12.345678 kHz"))) << strip().toStdString();
    EXPECT_TRUE(strip().contains("25.000 %")) << strip().toStdString();
    EXPECT_TRUE(strip().contains(QStringLiteral("正脉宽:"))) << strip().toStdString();
    const QVariantList results = obj("UtilityCounterSet")->property("results").toList();
    ASSERT_EQ(results.size(), 5);
    EXPECT_EQ(results[0].toStringList().first(), CSetParam::state.strFre.first());
    EXPECT_EQ(obj("UtilityCounterSet")->property("samples").toInt(), 1);
}

TEST_F(CounterDisplay, SwitchingOffStopsTheRefreshThenShowsOneClearedRefresh)
{
    fpga().setCounterInput(1000, 50);
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_COUNTERONOFF)->SetValue(1, 0);
    settle();
    ctrl->ui().counterUpdate_Slots();
    settle();
    ASSERT_TRUE(strip().contains("1.000000 kHz")) << strip().toStdString();

    fpga().clearWrites();
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_COUNTERONOFF)->SetValue(0, 0);
    settle();
    EXPECT_FALSE(ctrl->ui().counterTimer.isActive());
    EXPECT_EQ(writesAt(REG_CNT_ON), QList<uint64_t>({0}));
    EXPECT_EQ(CSetParam::state.cntFre[CSetParam::VALUE], 0.0);
    EXPECT_TRUE(strip().contains("------")) << strip().toStdString();
    EXPECT_FALSE(strip().contains("kHz"));
    EXPECT_EQ(obj("counterframe")->property("width").toInt(), 16);
    EXPECT_EQ(obj("UtilityCounterSet")->property("samples").toInt(), 0);
}

} // namespace
