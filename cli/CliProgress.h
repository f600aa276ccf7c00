#pragma once

#include "link/LinkProgress.h"

#include <functional>
#include <string>

class CProgressMeter;

// The command line's side of a long exchange: the progress line on the
// terminal, labelled with the language library's text, and a cancel when
// the user interrupts the program.
class CCliProgress final : public ILinkProgress {
public:
    // The text of language string `id` with `arg` for its "%s".
    using Labeller = std::function<std::string(int id, const std::string& arg)>;
    using CancelCheck = std::function<bool()>;

    CCliProgress(CProgressMeter& meter, Labeller labeller, CancelCheck isCancelRequested);

    void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) override;
    void BytesMoved(uint64_t bytesDone) override;
    bool IsCancelRequested() override { return m_isCancelRequested(); }
    void ExchangeEnded() override;

private:
    CProgressMeter& m_meter;
    Labeller m_labeller;
    CancelCheck m_isCancelRequested;
};
