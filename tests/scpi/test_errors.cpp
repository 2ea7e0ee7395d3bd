// Error queue, status bits per error class, the instrument's error list and
// the error texts.
#include <gtest/gtest.h>
#include "tests/scpi/scpi_test_table.h"

using Codes = std::vector<int>;

TEST(ScpiErrorQueue, KeepsTheNewestSixteenCodes)
{
    ScpiTestRig rig;
    // "PUSH" after the first takes the path "TEST:".
    std::string msg = "TEST:PUSH 1";
    for (int i = 2; i <= 20; i++)
        msg += ";PUSH " + std::to_string(i);
    msg += "\n";
    ASSERT_LT(msg.size(), 256u);
    rig.send(msg);
    EXPECT_EQ(SCPI_ErrorCount(&rig.ctx), 16);
    Codes expected;
    for (int i = 5; i <= 20; i++)
        expected.push_back(i);
    EXPECT_EQ(rig.drainErrors(), expected);
    EXPECT_EQ(SCPI_ErrorPop(&rig.ctx), 0);
    EXPECT_EQ(rig.errors.size(), 20u); // every code still reached the callback
}

TEST(ScpiErrorQueue, QueueBitOfTheStatusByteFollowsTheQueue)
{
    ScpiTestRig rig;
    rig.send("NOSUCH\n");
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x04, 0x04);
    rig.send("NOSUCH\n");
    EXPECT_EQ(SCPI_ErrorPop(&rig.ctx), -113);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x04, 0x04);
    EXPECT_EQ(SCPI_ErrorPop(&rig.ctx), -113);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x04, 0);
    rig.send("NOSUCH\n");
    SCPI_ErrorClear(&rig.ctx);
    EXPECT_EQ(SCPI_ErrorCount(&rig.ctx), 0);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x04, 0);
}

TEST(ScpiErrorQueue, EventStatusBitPerCodeRange)
{
    const struct {
        int code;
        int bit;
    } cases[] = {
        {-100, 0x20}, {-199, 0x20}, {-200, 0x10}, {-299, 0x10}, {-300, 0x08}, {-399, 0x08}, {1, 0x08},    {32767, 0x08},
        {-400, 0x04}, {-499, 0x04}, {-500, 0x80}, {-599, 0x80}, {-600, 0x40}, {-699, 0x40}, {-700, 0x02}, {-799, 0x02},
        {-800, 0x01}, {-899, 0x01}, {0, 0},       {-99, 0},     {-900, 0},    {-32768, 0},
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        rig.send("TEST:PUSH " + std::to_string(c.code) + "\n");
        EXPECT_EQ(rig.drainErrors(), Codes {c.code});
        EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_ESR), c.bit) << c.code;
    }
}

TEST(ScpiErrorQueue, FailingHandlersGetExecutionError)
{
    ScpiTestRig rig;
    rig.send("TEST:FAIL\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-200});
    // A handler reporting its own code: the list holds it and the -200, the
    // queue only the -200.
    rig.send("TEST:FAIL:CODE\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-200});
    EXPECT_EQ(Sys_ErrorPop(), -200);
    EXPECT_EQ(Sys_ErrorPop(), -224);
    EXPECT_EQ(Sys_ErrorPop(), -200);
    EXPECT_EQ(Sys_ErrorPop(), 0);
    // A handler that pushed its own error and failed gets no -200 on top.
    rig.send("CHAN1:BAS:FREQ 1 S\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-224});
}

// The event status summary over VXI-11 is in tests/remote; here the
// questionable and operation summaries and the one request per change.
TEST(ScpiStatusRegisters, SummaryBitsAndServiceRequest)
{
    ScpiTestRig rig;
    SCPI_RegSet(&rig.ctx, SCPI_REG_ESE, 0x20);
    SCPI_RegSet(&rig.ctx, SCPI_REG_SRE, 0x20);
    rig.send("NOSUCH\n"); // command error sets ESR 0x20, enabled
    ASSERT_FALSE(rig.controls.empty());
    EXPECT_EQ(rig.controls.back().first, SCPI_CTRL_SRQ);
    EXPECT_EQ(rig.controls.back().second, SCPI_RegGet(&rig.ctx, SCPI_REG_STB));
    // Writing the same status byte again raises no further request.
    const size_t requests = rig.controls.size();
    SCPI_RegSet(&rig.ctx, SCPI_REG_STB, SCPI_RegGet(&rig.ctx, SCPI_REG_STB));
    EXPECT_EQ(rig.controls.size(), requests);
    SCPI_RegSet(&rig.ctx, SCPI_REG_ESR, 0);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x60, 0);

    SCPI_RegSet(&rig.ctx, SCPI_REG_QUESE, 0x0100);
    SCPI_RegSetBits(&rig.ctx, SCPI_REG_QUES, 0x0100);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x08, 0x08);
    SCPI_RegClearBits(&rig.ctx, SCPI_REG_QUES, 0x0100);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x08, 0);
    SCPI_RegSet(&rig.ctx, SCPI_REG_OPERE, 0x10);
    SCPI_RegSet(&rig.ctx, SCPI_REG_OPER, 0x11);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, SCPI_REG_STB) & 0x80, 0x80);
    EXPECT_EQ(SCPI_RegGet(&rig.ctx, scpi_reg_name_t(8)), 0); // outside: no access
}

// The texts of the codes the instrument raises itself (the standard ones are
// seen through SYST:ERR? below), the fallback, and the tip built from them.
TEST(ScpiErrorTexts, InstrumentCodesFallbackAndTip)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {-801, "Out of range!"}, {-806, "delete error!"}, {-809, "No dBm at highZ!"}, {-810, "IO confilict!"},
        {-102, "Unknown error"}, {-811, "Unknown error"}, {5, "Unknown error"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(SCPI_ErrorTranslate(int16_t(c.code)), c.text) << c.code;
    char buf[96];
    SCPI_FormatErrorTip(buf, sizeof buf, -113);
    EXPECT_STREQ(buf, "[ERROR]:-113,\"Undefined header\"");
}

TEST(SysErrorStack, NewestFirstAndTheOldestDroppedPastOneHundred)
{
    Sys_ErrorClear();
    for (int i = 1; i <= 101; i++)
        Sys_Error(int16_t(-i));
    EXPECT_EQ(Sys_ErrorCount(), 100);
    for (int i = 101; i >= 2; i--)
        EXPECT_EQ(Sys_ErrorPop(), -i);
    EXPECT_EQ(Sys_ErrorPop(), 0);
    EXPECT_EQ(Sys_ErrorCount(), 0);
}

TEST(SysErrorStack, ReadAndClearedThroughCommands)
{
    ScpiTestRig rig;
    rig.send("NOSUCH\n");
    rig.send("TEST:INT\n");
    EXPECT_EQ(rig.ask("SYST:ERR?\n"), "-109,\"Missing parameter\"\r\n");
    EXPECT_EQ(rig.ask("SYST:ERR?;ERR?\n"), "-113,\"Undefined header\";0,\"No error\"\r\n");
    rig.send("TEST:DOUB 1 V;:TEST:TEXT wave;:CHAN1:BAS:FREQ\n");
    EXPECT_EQ(rig.ask("SYST:ERR?;ERR?;ERR?\n"),
              "-109,\"Missing parameter\";-104,\"Data type error\";-138,\"Suffix not allowed\"\r\n");
    rig.send("NOSUCH\n");
    rig.send("SYST:ERR\n");
    EXPECT_EQ(rig.ask("SYST:ERR?\n"), "0,\"No error\"\r\n");
}
