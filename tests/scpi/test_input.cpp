// The transports' entry: message length limit, newline handling, malformed
// units. That no input whatever disturbs the next message is the fuzz target's
// check (fuzz/scpi_input_fuzzer.cpp, run by scripts/test.sh).
#include <gtest/gtest.h>
#include <cstring>
#include "tests/scpi/scpi_test_table.h"

using Calls = std::vector<std::string>;
using Codes = std::vector<int>;

TEST(ScpiInput, MessagesUpToTheLimitRunLongerOnesAreRefusedWithOverrun)
{
    ScpiTestRig rig;
    // The longest message: header, blanks as padding, newline.
    const size_t limit = size_t(SCPI_INPUT_MAX_MESSAGE);
    ASSERT_GE(limit, 4096u);
    std::string ok = "TEST:TAG?";
    ok += std::string(limit - ok.size() - 1, ' ') + "\n";
    ASSERT_EQ(ok.size(), limit);
    EXPECT_EQ(rig.send(ok), 1);
    EXPECT_EQ(rig.out, "42\r\n");
    EXPECT_TRUE(rig.errors.empty());

    rig.out.clear();
    std::string tooLong = "TEST:TAG?" + std::string(limit + 1 - 10, ' ') + "\n";
    ASSERT_EQ(tooLong.size(), limit + 1);
    EXPECT_EQ(rig.send(tooLong), -1);
    EXPECT_EQ(rig.out, "");
    // Nothing of it ran, and the client is told why.
    EXPECT_EQ(rig.errors, Codes {-363});
    EXPECT_STREQ(SCPI_ErrorTranslate(-363), "Input buffer overrun");
    EXPECT_EQ(SCPI_Input(&rig.ctx, "x", -1), -1);
    EXPECT_EQ(SCPI_Input(&rig.ctx, nullptr, 3), -1);
    EXPECT_EQ(SCPI_Input(nullptr, "x\n", 2), -1);
}

TEST(ScpiInput, OnlyNewlineTerminatedTextRunsAndBlankUnitsAreSkipped)
{
    ScpiTestRig rig;
    EXPECT_EQ(rig.send("TEST:TAG?"), 0);
    // Nothing is carried over into the next call.
    rig.send("\n");
    EXPECT_EQ(rig.out, "");
    EXPECT_TRUE(scpi_test_record.calls.empty());
    rig.send("TEST:TAG?\nTEST:NOOP");
    EXPECT_EQ(scpi_test_record.calls, Calls {"TEST:TAG?"});
    EXPECT_EQ(rig.out, "42\r\n");
    EXPECT_EQ(rig.send(""), 0); // empty call: nothing to run
    // All three newline forms terminate.
    EXPECT_EQ(rig.ask("TEST:TAG?\r\n") + rig.ask("TEST:TAG?\r") + rig.ask("TEST:TAG?\n"), "42\r\n42\r\n42\r\n");
    // Empty units and white space are skipped.
    scpi_test_record.calls.clear();
    rig.send("  \t TEST:NOOP ;;  ; NOOP\t\n");
    EXPECT_EQ(scpi_test_record.calls, (Calls {"TEST:NOOP", "TEST:NOOP"}));
    rig.send("\n\n\r\n");
    EXPECT_TRUE(rig.drainErrors().empty());
}

TEST(ScpiInput, ReturnValueReflectsTheLastUnit)
{
    ScpiTestRig rig;
    EXPECT_EQ(rig.send("TEST:NOOP\n"), 1);
    EXPECT_EQ(rig.send("NOSUCH\n"), 0);
    EXPECT_EQ(rig.send("TEST:NOOP;NOSUCH\n"), 0);
    EXPECT_EQ(rig.send("NOSUCH;:TEST:NOOP\n"), 1);
    EXPECT_EQ(rig.send("@\n"), 0);
}

TEST(ScpiInput, EmbeddedNulAndHighBytes)
{
    ScpiTestRig rig;
    const char msg[] = "TEST:CHAR \"a\0b\xff\"\n";
    SCPI_Input(&rig.ctx, msg, int(sizeof msg - 1));
    EXPECT_EQ(scpi_test_record.chars, std::string("\"a\0b\xff\"", 6));
    rig.send(std::string("\xff\xfe\n", 3));
    EXPECT_EQ(rig.drainErrors(), Codes {-101});
}

TEST(ScpiInput, IncompleteHeaders)
{
    ScpiTestRig rig;
    rig.send("*\n");
    rig.send("TEST:\n");
    rig.send(":\n");
    rig.send("TEST::NOOP\n");
    rig.send("TEST:?\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-113, -113, -113, -101, -101}));
    EXPECT_TRUE(scpi_test_record.calls.empty());
}
