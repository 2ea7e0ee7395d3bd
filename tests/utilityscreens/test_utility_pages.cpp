// The utility pages and the help page as the controller and
// the user see them: the functions the controller calls exist with their
// arguments, the timing drawing follows the digital settings, the help
// follows the panel keys and every page shows without a QML warning.
#include "app/misc.h"
#include "simboard/simroot.h"
#include "tests/utilityscreens/utility_fixture.h"

TEST_F(UtilityScreens, EveryPageFunctionTheControllerCallsTakesItsArguments)
{
    struct Fn {
        const char* object;
        const char* name;
        int args;
    } fns[] = {
        // (the ones the channel pages share: Screens.EveryFunctionTheControllerCalls...)
        {"UtilityCounterSet", "updateCounter", 6},
        {"UtilityMerge", "redrawmerge", 3},
        {"UtilityDigitalSet", "setfocusIndex", 1},
        {"UtilityDigitalSet", "requestPaint", 0},
        {"UtilityDigitalSet", "digitalformatctl", 1},
        {"UtilityDigitalSet", "digitalsendctl", 1},
        {"UtilityDigitalSet", "digitalparamReload", 0},
        {"UtilityDigitalSet", "setInputText", 1},
        {"temperaturetxt", "settext", 1},
    };
    for (const Fn& f : fns)
        EXPECT_TRUE(hasFunction(obj(f.object), f.name, f.args)) << f.object << "." << f.name;
    for (const char* n :
         {"sysframe", "lanframe", "syslistview", "syslanlistview", "funsel", "digitallistview", "mergesetlistview",
          "ChannalCoupleSet12", "ChannalCoupleSet34", "pathlistview", "editlistview"})
        EXPECT_NE(obj(n), nullptr) << n;
    for (int ch = 1; ch <= 4; ++ch) {
        QObject* part = obj(QByteArray("utilitySetch" + QByteArray::number(ch)).constData());
        ASSERT_NE(part, nullptr);
        EXPECT_NE(part->findChild<QObject*>("setlistview"), nullptr);
    }
    // The controller's own calls reach them: the counter page's readings,
    // the merge drawing, the inner temperature.
    ctrl->ui().counterUpdate_Slots();
    call(obj("UtilityMerge"), "redrawmerge", {3, 0, 4});
    // The board's state from the first moment: the sensor's 25 °C, the MAC,
    // the link up (no cross); a new reading shows at the next tick.
    EXPECT_EQ(obj("temperaturetxt")->property("text").toString(), QStringLiteral("25.00 ℃"));
    EXPECT_EQ(ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSMACADDR)->rlistvalue(), QString("02:00:00:00:01:00"));
    EXPECT_FALSE(obj("imgnetoff")->property("visible").toBool());
    misc::ResetDS18B20(); // the sensor of this test's board root
    writeFile(SimRoot::kThermometerFile, "90 01 4b 46 7f ff 0c 10 1c t=41500\n");
    ctrl->SysTimer_Slots();
    settle();
    EXPECT_EQ(obj("UtilityCounterSet")->property("results").toList().size(), 5);
    EXPECT_EQ(obj("UtilityMerge")->property("merge").toList(), (QVariantList {0, 0, 0, 4}));
    EXPECT_EQ(obj("temperaturetxt")->property("text").toString(), QStringLiteral("41.50 ℃"));
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

namespace {
// Cells per line of the drawn frame, and the labels of the first line.
struct Frame {
    QStringList names;
    QList<int> cells;
    QStringList labels;
};
Frame frameOf(QObject* timing, QVariantList bytes)
{
    QVariant ret;
    QMetaObject::invokeMethod(timing, "frame", Q_RETURN_ARG(QVariant, ret), Q_ARG(QVariant, QVariant(bytes)));
    const QVariantMap f = ret.toMap();
    Frame out;
    out.names = f.value("names").toStringList();
    const QVariantList lines = f.value("lines").toList();
    for (const QVariant& l : lines)
        out.cells << l.toList().size();
    const QVariantList last = lines.isEmpty() ? QVariantList() : lines.last().toList();
    for (const QVariant& c : last)
        if (!c.toMap().value("t").toString().isEmpty())
            out.labels << c.toMap().value("t").toString();
    return out;
}
} // namespace

TEST_F(UtilityScreens, TheTimingDrawingFollowsTheDigitalSettings)
{
    toUtility(4);
    QObject* timing = obj("digitaltiming");
    ASSERT_NE(timing, nullptr);
    timing->setProperty("fun", 0);
    Frame spi = frameOf(timing, {0xA5, 0x01});
    EXPECT_EQ(spi.names, (QStringList {"CS", "SCLK", "MOSI"}));
    EXPECT_EQ(spi.cells, (QList<int> {18, 18, 18}));                                         // idle, 16 bits, idle
    EXPECT_EQ(spi.labels.mid(0, 8), (QStringList {"1", "0", "1", "0", "0", "1", "0", "1"})); // 0xA5, MSB first

    // UART with 8 data bits, even parity, two stop bits: start, 8, parity, 2 stops.
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTDATABITS, 4);
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTVERIFY, 1);
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTSTOPBITS, 1);
    settle();
    timing->setProperty("fun", 2);
    Frame uart = frameOf(timing, {0x03});
    EXPECT_EQ(uart.cells, QList<int> {1 + 1 + 8 + 1 + 2 + 1});
    EXPECT_EQ(uart.labels, (QStringList {"ST", "D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "P", "SP", "SP"}));
    // Five data bits, no parity, one stop bit.
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTDATABITS, 1);
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTVERIFY, 0);
    ctrl->setValueCmdProcess(CH_DIGITAL, PARAM_INDEX_UARTSTOPBITS, 0);
    settle();
    uart = frameOf(timing, {0x03});
    EXPECT_EQ(uart.labels, (QStringList {"ST", "D0", "D1", "D2", "D3", "D4", "SP"}));

    // I2C: start, the address with the write bit, ACK, each byte with ACK, stop.
    timing->setProperty("fun", 1);
    Frame i2c = frameOf(timing, {0x10});
    EXPECT_EQ(i2c.names, (QStringList {"SCL", "SDA"}));
    EXPECT_EQ(i2c.cells.first(), 2 + 9 + 9 + 2);
    EXPECT_EQ(i2c.labels.first(), QStringLiteral("S"));
    EXPECT_EQ(i2c.labels.last(), QStringLiteral("P"));
    EXPECT_EQ(i2c.labels.count(QStringLiteral("ACK")), 2);
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(UtilityScreens, PanelKeysOpenTheirHelpPage)
{
    QObject* top = obj("topmain");
    QObject* help = obj("helpview");
    call(top, "changeState", {QStringLiteral("helpviewframe")});
    ASSERT_TRUE(help->property("visible").toBool());
    key(Key_Sweep);
    const QString sweep = obj("helptext")->property("text").toString();
    key(Key_Pulse);
    const QString pulse = obj("helptext")->property("text").toString();
    key(Key_Utility);
    const QString utility = obj("helptext")->property("text").toString();
    EXPECT_TRUE(sweep.startsWith(QStringLiteral("扫频"))) << sweep.toStdString();
    EXPECT_TRUE(pulse.startsWith(QStringLiteral("脉冲波"))) << pulse.toStdString();
    EXPECT_NE(utility, pulse);
    // The keys only chose help pages: the channel is unchanged.
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
    EXPECT_EQ(top->property("state").toString(), QStringLiteral("helpviewframe"));
}

TEST_F(UtilityScreens, EveryPageShowsWithoutAWarning)
{
    for (int page = 0; page < 6; ++page) {
        toUtility(page);
        QMetaObject::invokeMethod(obj("utility"), "updateMainIndex", Q_ARG(QVariant, page));
        key(Key_Right);
        key(Key_Down);
        settle();
    }
    call(obj("topmain"), "changeState", {QStringLiteral("overviewframe")});
    settle();
    call(obj("topmain"), "changeState", {QStringLiteral("helpviewframe")});
    for (int k = Key_Start; k <= Key_Cancel; ++k)
        call(obj("helpview"), "getToButtonIndex", {k});
    settle();
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}
