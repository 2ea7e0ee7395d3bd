// Framing of the raw SCPI socket's byte stream: where a message ends and
// what of a definite-length block reaches the worker.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "communication/LAN/scpi_raw_framer.h"

namespace {

struct Msg {
    std::string bytes;
    bool data;
};

std::vector<Msg> frame(ScpiRawFramer& f, const std::string& in, size_t step = 0)
{
    std::vector<Msg> out;
    if (step == 0)
        step = in.size() ? in.size() : 1;
    for (size_t i = 0; i < in.size(); i += step) {
        EXPECT_EQ(f.feed(in.data() + i, std::min(step, in.size() - i)), ScpiRawFramer::Ok);
    }
    std::vector<char> m;
    bool data = false;
    while (f.next(m, data))
        out.push_back({std::string(m.begin(), m.end()), data});
    return out;
}

std::vector<Msg> frame(const std::string& in, size_t step = 0)
{
    ScpiRawFramer f(1024, 1 << 20);
    return frame(f, in, step);
}

} // namespace

TEST(RawFramer, LineFeedEndsEachMessageAndBlankLinesAreSkipped)
{
    const auto m = frame("*IDN?\n\r\n  \n*ESE 32;*ESE?\n*OPC?");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].bytes, "*IDN?\n");
    EXPECT_FALSE(m[0].data);
    EXPECT_EQ(m[1].bytes, "*ESE 32;*ESE?\n");
}

TEST(RawFramer, BareBlockIsHandedOnAsItsDataBytesEvenWithLineFeedsInside)
{
    std::string payload("a\nb\n\0c\r\n", 8);
    const std::string in = "WARB1:CARRier \"w.bsv\"\n#18" + payload + "\n*IDN?\n";
    for (size_t step : {size_t(0), size_t(1), size_t(3)}) {
        const auto m = frame(in, step);
        ASSERT_EQ(m.size(), 3u) << "step " << step;
        EXPECT_EQ(m[0].bytes, "WARB1:CARRier \"w.bsv\"\n");
        EXPECT_TRUE(m[1].data);
        EXPECT_EQ(m[1].bytes, payload);
        EXPECT_EQ(m[2].bytes, "*IDN?\n");
        EXPECT_FALSE(m[2].data);
    }
}

TEST(RawFramer, BlockWithoutTrailingTerminatorIsFollowedDirectlyByTheNextMessage)
{
    const auto m = frame("#211hello world*IDN?\n#3004\r\nabcd\r\n");
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].bytes, "hello world");
    EXPECT_EQ(m[1].bytes, "*IDN?\n");
    // The length counts, not the line: the rest of the line is a message
    // of its own.
    EXPECT_EQ(m[2].bytes, "\r\nab");
    EXPECT_TRUE(m[2].data);
    EXPECT_EQ(m[3].bytes, "cd\r\n");
    EXPECT_FALSE(m[3].data);
}

TEST(RawFramer, BlockInsideACommandLineStaysInTheLineWithItsHeader)
{
    const auto m = frame("DATA:BLOCK #15a\nb;c x\n*CLS\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].bytes, "DATA:BLOCK #15a\nb;c x\n");
    EXPECT_FALSE(m[0].data);
    EXPECT_EQ(m[1].bytes, "*CLS\n");
}

TEST(RawFramer, NonDecimalNumbersAndQuotedHashesAreText)
{
    const auto m = frame("*ESE #H20\nSYST:TEXT \"#15ab\ncd\"\n#0abc\n");
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].bytes, "*ESE #H20\n");
    // A LF ends the message even inside an unclosed string.
    EXPECT_EQ(m[1].bytes, "SYST:TEXT \"#15ab\n");
    EXPECT_EQ(m[2].bytes, "cd\"\n");
    EXPECT_EQ(m[3].bytes, "#0abc\n");
}

TEST(RawFramer, LongLineIsCutAtTheLimitAndTheRestOfItDropped)
{
    ScpiRawFramer f(16, 1 << 20);
    const auto m = frame(f, std::string(100, 'A') + "\n*IDN?\n", 7);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].bytes, std::string(16, 'A') + "\n");
    EXPECT_EQ(m[1].bytes, "*IDN?\n");
}

TEST(RawFramer, BlockLongerThanTheLimitStopsTheStreamBeforeAnyData)
{
    ScpiRawFramer f(1024, 1000);
    EXPECT_EQ(f.feed("#41000", 6), ScpiRawFramer::Ok);
    ScpiRawFramer g(1024, 1000);
    EXPECT_EQ(g.feed("#41001", 6), ScpiRawFramer::BlockTooLong);
    ScpiRawFramer h(1024, 1000);
    EXPECT_EQ(h.feed("#9999999999", 11), ScpiRawFramer::BlockTooLong);
    EXPECT_LT(h.pending(), 16u);
}

TEST(RawFramer, EmptyBlockIsAnEmptyDataMessage)
{
    const auto m = frame("#10\n*IDN?\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_TRUE(m[0].data);
    EXPECT_EQ(m[0].bytes, "");
    EXPECT_EQ(m[1].bytes, "*IDN?\n");
}
