// Framing of the raw SCPI socket's byte stream into messages.
#include "communication/LAN/scpi_raw_framer.h"
#include <algorithm>
#include <cstring>

ScpiRawFramer::ScpiRawFramer(size_t maxLine, size_t maxBlock) : maxLine_(maxLine), maxBlock_(maxBlock) {}

bool ScpiRawFramer::onlyBlank() const
{
    for (char c : cur_)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

void ScpiRawFramer::finish(bool isData)
{
    done_.push_back(std::move(cur_));
    doneIsData_.push_back(isData);
    cur_.clear();
    textBytes_ = 0;
    overflow_ = false;
}

ScpiRawFramer::Status ScpiRawFramer::feed(const char* p, size_t n)
{
    size_t i = 0;
    while (i < n) {
        const char c = p[i];
        switch (state_) {
        case Body: {
            // The data of a block: taken by its length, in one piece.
            const size_t take = std::min(blockLeft_, n - i);
            cur_.insert(cur_.end(), p + i, p + i + take);
            blockLeft_ -= take;
            i += take;
            if (blockLeft_ == 0) {
                if (bareBlock_) {
                    // Only the data goes on (the header was dropped when
                    // it was complete).
                    finish(true);
                    state_ = AfterBlock;
                } else {
                    state_ = Text;
                }
            }
            continue;
        }
        case AfterBlock:
            // The terminator a client sends after a bare block.
            if (c == '\r' || c == '\n') {
                ++i;
                if (c == '\n')
                    state_ = Text;
                continue;
            }
            state_ = Text;
            continue;
        case HashSeen:
            if (c >= '1' && c <= '9') {
                lenDigits_ = c - '0';
                blockLen_ = 0;
                cur_.push_back(c);
                ++i;
                state_ = LenDigits;
                continue;
            }
            // "#0" (indefinite length, ends at the LF) and the non-decimal
            // numbers "#H", "#Q", "#B" are ordinary text.
            state_ = Text;
            continue;
        case LenDigits:
            if (c < '0' || c > '9') {
                // A malformed header: the parser reports it.
                state_ = Text;
                continue;
            }
            cur_.push_back(c);
            ++i;
            blockLen_ = blockLen_ * 10 + size_t(c - '0');
            if (blockLen_ > maxBlock_)
                return BlockTooLong;
            if (--lenDigits_ == 0) {
                blockLeft_ = blockLen_;
                state_ = blockLeft_ ? Body : Text;
                if (bareBlock_)
                    cur_.clear();
                if (!blockLeft_ && bareBlock_) {
                    finish(true);
                    state_ = AfterBlock;
                }
                // Room for the data at once: grown piece by piece, a large
                // block was copied again at every doubling. Up to 16 MiB
                // (an 8 Mi-point wave) is reserved ahead; what a header
                // promises beyond that is only taken as it arrives.
                if (blockLeft_)
                    cur_.reserve(cur_.size() + std::min(blockLeft_, size_t(16) << 20));
            }
            continue;
        case Quote:
            // A LF ends the message even inside an unclosed string, so a
            // stray quote cannot swallow the rest of the stream.
            if (c == '\n') {
                state_ = Text;
                continue;
            }
            if (c == quote_)
                state_ = Text;
            break;
        case Text:
            if (c == '\n') {
                if (overflow_) {
                    cur_.push_back('\n');
                    finish(false);
                } else if (onlyBlank()) {
                    cur_.clear();
                    textBytes_ = 0;
                } else {
                    cur_.push_back('\n');
                    finish(false);
                }
                ++i;
                continue;
            }
            if (c == '"' || c == '\'') {
                quote_ = c;
                state_ = Quote;
            } else if (c == '#') {
                bareBlock_ = onlyBlank();
                if (bareBlock_) {
                    cur_.clear();
                    textBytes_ = 0;
                }
                state_ = HashSeen;
            }
            break;
        }
        // Text and quoted text: kept up to the line limit.
        if (textBytes_ < maxLine_) {
            cur_.push_back(c);
            ++textBytes_;
        } else {
            overflow_ = true;
        }
        ++i;
    }
    return Ok;
}

size_t ScpiRawFramer::held() const
{
    size_t n = cur_.size();
    for (size_t i = taken_; i < done_.size(); ++i)
        n += done_[i].size();
    return n;
}

bool ScpiRawFramer::next(std::vector<char>& out, bool& isData)
{
    if (taken_ >= done_.size()) {
        done_.clear();
        doneIsData_.clear();
        taken_ = 0;
        return false;
    }
    out.swap(done_[taken_]);
    isData = doneIsData_[taken_];
    std::vector<char>().swap(done_[taken_]);
    ++taken_;
    return true;
}
