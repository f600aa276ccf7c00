#include "cli/CliProgress.h"

#include "cli/ProgressMeter.h"

#include <utility>

CCliProgress::CCliProgress(CProgressMeter& meter, Labeller labeller, CancelCheck isCancelRequested)
    : m_meter(meter), m_labeller(std::move(labeller)), m_isCancelRequested(std::move(isCancelRequested))
{
}

void CCliProgress::ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes)
{
    m_meter.Begin(m_labeller(textId, arg), expectedBytes);
}

void CCliProgress::BytesMoved(uint64_t bytesDone)
{
    m_meter.AddBytes(bytesDone - m_meter.GetBytes());
}

void CCliProgress::ExchangeEnded()
{
    m_meter.End();
}
