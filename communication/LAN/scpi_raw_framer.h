#pragma once
// Message framing of the raw SCPI socket. A raw TCP stream has no END
// marker: a message ends at LF. Binary data cannot be told from text by a
// terminator, so it travels as an IEEE 488.2 definite-length block
// ("#" digit length data): inside a command line the block's bytes are taken
// by its length (a LF among them does not end the message), and a message
// that is nothing but a block (the data after an arming command such as
// "WARB1:CARRier") is handed on as the bare data bytes.
#include <cstddef>
#include <vector>

class ScpiRawFramer {
public:
    enum Status { Ok, BlockTooLong };
    // maxLine: text bytes kept of one line (the rest up to its LF is
    // dropped, the parser then reports the overrun); maxBlock: largest block.
    ScpiRawFramer(size_t maxLine, size_t maxBlock);

    // Takes n received bytes; complete messages become available through
    // next(). BlockTooLong: the stream cannot be followed any more.
    Status feed(const char* p, size_t n);
    // Moves the oldest complete message into out; false when none. A text
    // message ends with its LF; a bare block is only the data bytes.
    bool next(std::vector<char>& out, bool& isData);
    // Bytes of the message being assembled.
    size_t pending() const { return cur_.size(); }
    // Bytes held: the message being assembled and those not yet taken.
    size_t held() const;

private:
    enum State { Text, Quote, HashSeen, LenDigits, Body, AfterBlock };
    void finish(bool isData);
    bool onlyBlank() const;

    size_t maxLine_, maxBlock_;
    State state_ = Text;
    char quote_ = 0;
    std::vector<char> cur_;
    size_t textBytes_ = 0;
    bool overflow_ = false;
    int lenDigits_ = 0;
    size_t blockLen_ = 0;
    size_t blockLeft_ = 0;
    bool bareBlock_ = false;
    std::vector<std::vector<char>> done_;
    std::vector<bool> doneIsData_;
    size_t taken_ = 0;
};
