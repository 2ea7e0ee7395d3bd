// Framing of the raw SCPI socket's byte stream: where a message ends and
// what of a definite-length block reaches the worker.
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>
#include "communication/LAN/scpi_raw_framer.h"

namespace {

struct Msg {
    std::string bytes;
    bool data;
    bool operator==(const Msg& o) const { return bytes == o.bytes && data == o.data; }
};
void PrintTo(const Msg& m, std::ostream* os)
{
    *os << (m.data ? "data " : "text ") << ::testing::PrintToString(m.bytes);
}

// The messages the framer hands on for the stream in, fed in pieces of step
// bytes (0: all at once).
std::vector<Msg> frame(const std::string& in, size_t step, size_t maxLine)
{
    ScpiRawFramer f(maxLine, 1 << 20);
    if (step == 0)
        step = in.size();
    for (size_t i = 0; i < in.size(); i += step)
        EXPECT_EQ(f.feed(in.data() + i, std::min(step, in.size() - i)), ScpiRawFramer::Ok);
    std::vector<Msg> out;
    std::vector<char> m;
    bool data = false;
    while (f.next(m, data))
        out.push_back({std::string(m.begin(), m.end()), data});
    return out;
}

} // namespace

TEST(RawFramer, MessagesAndBlocksOfTheStream)
{
    const std::string payload("a\nb\n\0c\r\n", 8);
    const struct {
        const char* name;
        std::string in;
        std::vector<Msg> out;
        size_t maxLine;
    } rows[] = {
        {"a line feed ends each message, blank lines are skipped",
         "*IDN?\n\r\n  \n*ESE 32;*ESE?\n*OPC?",
         {{"*IDN?\n", false}, {"*ESE 32;*ESE?\n", false}},
         1024},
        {"a bare block is its data bytes, line feeds and all",
         "WARB1:CARRier \"w.bsv\"\n#18" + payload + "\n*IDN?\n",
         {{"WARB1:CARRier \"w.bsv\"\n", false}, {payload, true}, {"*IDN?\n", false}},
         1024},
        // The length counts, not the line: the rest of the line is a message
        // of its own.
        {"a block without terminator is followed directly by the next message",
         "#211hello world*IDN?\n#3004\r\nabcd\r\n",
         {{"hello world", true}, {"*IDN?\n", false}, {"\r\nab", true}, {"cd\r\n", false}},
         1024},
        {"a block inside a command line stays in the line",
         "DATA:BLOCK #15a\nb;c x\n*CLS\n",
         {{"DATA:BLOCK #15a\nb;c x\n", false}, {"*CLS\n", false}},
         1024},
        // A LF ends the message even inside an unclosed string.
        {"non-decimal numbers and quoted hashes are text",
         "*ESE #H20\nSYST:TEXT \"#15ab\ncd\"\n#0abc\n",
         {{"*ESE #H20\n", false}, {"SYST:TEXT \"#15ab\n", false}, {"cd\"\n", false}, {"#0abc\n", false}},
         1024},
        {"a long line is cut at the limit, the rest of it dropped",
         std::string(100, 'A') + "\n*IDN?\n",
         {{std::string(16, 'A') + "\n", false}, {"*IDN?\n", false}},
         16},
        {"an empty block is an empty data message", "#10\n*IDN?\n", {{"", true}, {"*IDN?\n", false}}, 1024},
    };
    for (const auto& row : rows)
        for (size_t step : {size_t(0), size_t(1), size_t(3), size_t(7)})
            EXPECT_EQ(frame(row.in, step, row.maxLine), row.out) << row.name << ", step " << step;
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
