// The program's own context: identification, response sink, error list and
// the error tip sent to the controller.
#include <gtest/gtest.h>
#include <QObject>
#include <QSignalSpy>
#include "tests/scpi/scpi_test_table.h"

namespace {

class FakeController : public QObject {
    Q_OBJECT
signals:
    void TipsMessage(int type, int index, bool status, QString header = "", bool disWindow = true);
};

std::string g_response;
int captureResponse(const char* data, int len)
{
    g_response.append(data, size_t(len));
    return len;
}
int refuseResponse(const char*, int) { return -1; }

struct InstrumentContext {
    InstrumentContext()
    {
        scpi_context.cmdlist = scpi_test_commands;
        SCPI_Init(&scpi_context);
        SCPI_SetResponseSink(captureResponse);
        SCPI_SetTipHook(nullptr);
        scpi_context.parent = nullptr;
        SCPI_ErrorClear(&scpi_context);
        for (int r = 0; r < SCPI_REG_COUNT; r++)
            scpi_context.registers[r] = 0;
        Sys_ErrorClear();
        g_response.clear();
    }
    ~InstrumentContext()
    {
        SCPI_SetResponseSink(nullptr);
        SCPI_SetTipHook(nullptr);
        scpi_context.cmdlist = nullptr;
        scpi_context.parent = nullptr;
    }
    int send(const std::string& m) { return SCPI_Input(&scpi_context, m.data(), int(m.size())); }
};

} // namespace

TEST(ScpiInstrumentInterface, InitFillsMissingIdentificationEntries)
{
    scpi_t ctx {};
    char buf[SCPI_INPUT_BUFFER_LENGTH];
    ctx.buffer = {SCPI_INPUT_BUFFER_LENGTH, 7, buf};
    ctx.idn[0] = "Maker";
    SCPI_Init(&ctx);
    EXPECT_STREQ(ctx.idn[0], "Maker");
    EXPECT_STREQ(ctx.idn[3], "01-01");
    EXPECT_NE(ctx.idn[1], nullptr);
    EXPECT_NE(ctx.idn[2], nullptr);
    EXPECT_EQ(ctx.buffer.position, 0);
    // No interface, queue or registers: errors go nowhere, nothing breaks.
    ctx.cmdlist = scpi_test_commands;
    EXPECT_EQ(SCPI_Input(&ctx, "NOSUCH;*IDN?\n", 13), 1);
    EXPECT_EQ(SCPI_ErrorCount(&ctx), 0);
}

TEST(ScpiInstrumentInterface, ErrorsGoToTheListAndAsTipToTheController)
{
    InstrumentContext ic;
    FakeController controller;
    QSignalSpy spy(&controller, &FakeController::TipsMessage);
    scpi_context.parent = &controller;
    SCPI_UseControllerTips();

    ic.send("NOSUCH:HEADER\n");
    EXPECT_EQ(g_response, "");
    ASSERT_EQ(spy.count(), 1);
    const QList<QVariant> args = spy.takeFirst();
    EXPECT_EQ(args.at(0).toInt(), 2); // error message
    EXPECT_EQ(args.at(1).toInt(), 0); // remote-control error
    EXPECT_EQ(args.at(3).toString(), QString("[ERROR]:-113,\"Undefined header\""));
    EXPECT_TRUE(args.at(4).toBool()); // shown in a window
    EXPECT_EQ(SCPI_ErrorPop(&scpi_context), -113);
    EXPECT_EQ(Sys_ErrorPop(), -113);

    // A handler's own report reaches the tip and the list, not the queue.
    SCPI_Error(&scpi_context, -801);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().at(3).toString(), QString("[ERROR]:-801,\"Out of range!\""));
    EXPECT_EQ(SCPI_ErrorCount(&scpi_context), 0);
    EXPECT_EQ(Sys_ErrorPop(), -801);
}

TEST(ScpiInstrumentInterface, RefusedResponsesCountNothingAndControlsAreLogged)
{
    InstrumentContext ic;
    SCPI_SetResponseSink(refuseResponse);
    EXPECT_EQ(SCPI_ResultCharacters(&scpi_context, "abc", 3), 0u);
    SCPI_SetResponseSink(nullptr);
    EXPECT_EQ(SCPI_Write(&scpi_context, "abc", 3), 0u);
    EXPECT_EQ(SCPI_Flush(&scpi_context), SCPI_RES_OK);

    testing::internal::CaptureStderr();
    SCPI_Control(&scpi_context, SCPI_CTRL_SRQ, 0x44);
    SCPI_Control(&scpi_context, SCPI_CTRL_SDC, 0x1);
    SCPI_Reset(&scpi_context);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "**SRQ: 0x44 (68)\r\n**CTRL 03: 0x1 (1)\r\n**Reset\r\n");
}

TEST(ScpiInstrumentInterface, ServiceRequestOfTheProgramContextIsLogged)
{
    InstrumentContext ic;
    SCPI_RegSet(&scpi_context, SCPI_REG_ESE, 0x20);
    SCPI_RegSet(&scpi_context, SCPI_REG_SRE, 0x20);
    testing::internal::CaptureStderr();
    // The command error sets ESR 0x20, whose summary 0x20 in the status byte
    // requests service (0x40); then the queue bit 0x04 changes it once more.
    ic.send("NOSUCH\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "**SRQ: 0x60 (96)\r\n**SRQ: 0x64 (100)\r\n");
}

#include "test_instrument_interface.moc"
