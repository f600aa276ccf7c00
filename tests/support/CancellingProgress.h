#pragma once

#include "link/LinkProgress.h"

#include <cstdint>
#include <limits>
#include <string>

// Records what the link reports of its exchanges, and asks for a cancel
// once `cancelAfterBytes` bytes have moved in the current one, or from the
// question numbered `cancelAtQuestion` on.
class CCancellingProgress final : public ILinkProgress {
public:
    explicit CCancellingProgress(uint64_t cancelAfterBytes = std::numeric_limits<uint64_t>::max())
        : cancelAfter(cancelAfterBytes)
    {
    }

    void ExchangeStarted(int id, const std::string& arg, uint64_t expected) override
    {
        ++started;
        textId = id;
        text = arg;
        expectedBytes = expected;
        done = 0;
    }
    void BytesMoved(uint64_t bytesDone) override { done = bytesDone; }
    bool IsCancelRequested() override
    {
        ++asked;
        return done >= cancelAfter || asked >= cancelAtQuestion;
    }
    void ExchangeEnded() override { ++ended; }

    uint64_t cancelAfter;
    uint64_t cancelAtQuestion = std::numeric_limits<uint64_t>::max();
    int started = 0;
    int ended = 0;
    uint64_t asked = 0;
    int textId = 0;
    std::string text;
    uint64_t expectedBytes = 0;
    uint64_t done = 0;
};
