#include "link/CalcNameRules.h"

#include "text/StringIds.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

int CheckNewCalcName(const std::string& name)
{
    if (name.empty())
        return IDS_NAME_EMPTY;
    if (name.size() > CALC_NAME_MAX_LENGTH)
        return IDS_NAME_TOO_LONG;
    if (!IsAsciiLetter(name[0]))
        return IDS_NAME_FIRST_CHARACTER;
    for (char c : name)
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != '_')
            return IDS_NAME_BAD_CHARACTER;
    return 0;
}

std::string LowerCaseCalcName(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::optional<std::vector<uint16_t>> KeyCodesForCalcName(const std::string& raw)
{
    // Printable ASCII and the calculator's letters beyond it (Greek and
    // accented ones) are typed by their own codes; control codes are not.
    std::vector<uint16_t> codes;
    for (char c : raw) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F)
            return std::nullopt;
        codes.push_back(byte);
    }
    return codes;
}
