#include "text/CableKind.h"

#include "text/StringIds.h"

namespace {

struct CableFacts {
    CableKind kind;
    const char* word;
    int nameId;
};
constexpr CableFacts CABLES[] = {
    {CableKind::Parallel, "parallel", IDS_CABLE_PARALLEL},
    {CableKind::BlackSerial, "black", IDS_CABLE_BLACK},
    {CableKind::GraySerial, "gray", IDS_CABLE_GRAY},
    {CableKind::Usb, "usb", IDS_CABLE_USB},
};

const CableFacts& FactsOf(CableKind kind)
{
    for (const CableFacts& facts : CABLES)
        if (facts.kind == kind)
            return facts;
    return CABLES[0];
}

} // namespace

const char* CableWord(CableKind kind) { return FactsOf(kind).word; }

int CableNameId(CableKind kind) { return FactsOf(kind).nameId; }

std::optional<CableKind> CableFromWord(const std::string& word)
{
    for (const CableFacts& facts : CABLES)
        if (word == facts.word)
            return facts.kind;
    return std::nullopt;
}

std::optional<CableKind> CableFromNumber(uint32_t number)
{
    for (const CableFacts& facts : CABLES)
        if (static_cast<uint32_t>(facts.kind) == number)
            return facts.kind;
    return std::nullopt;
}

bool IsSerialCable(CableKind kind) { return kind == CableKind::BlackSerial || kind == CableKind::GraySerial; }
