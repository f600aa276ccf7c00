#include "cli/RemoteOperands.h"

#include "link/KeyTable.h"

namespace {

bool IsQuoted(const std::string& text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

bool ParseKeys(const std::vector<std::string>& operands, CCliOptions& options, std::string& error)
{
    if (operands.empty()) {
        error = "keys needs at least one key name or text, for example: keys HOME CLEAR \"2+3\" ENTER";
        return false;
    }
    for (const std::string& operand : operands) {
        if (!options.strKeysText.empty())
            options.strKeysText += ' ';
        options.strKeysText += operand;
        if (const auto code = IsQuoted(operand) ? std::nullopt : ParseKeyName(operand)) {
            options.keys.push_back(*code);
            continue;
        }
        if (!IsQuoted(operand) && LooksLikeKeyName(operand)) {
            error = "'" + operand + "' is not a key of the TI-92: key names are ENTER, CLEAR, ESC, ON, HOME, QUIT, "
                    "F1 to F8, UP, DOWN, LEFT, RIGHT, BACKSPACE... and 2ND+, DIAMOND+ or SHIFT+ before one; "
                    "put a text in double quotes to type it";
            return false;
        }
        const std::string text = IsQuoted(operand) ? operand.substr(1, operand.size() - 2) : operand;
        std::string refused;
        if (!KeyCodesForText(text, options.keys, refused)) {
            error = "'" + refused + "' cannot be typed on the TI-92's keyboard";
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseRemoteOperands(CliCommand command, const std::vector<std::string>& operands, CCliOptions& options,
                         std::string& error)
{
    if (command == CliCommand::Keys)
        return ParseKeys(operands, options, error);
    if (operands.size() != 1) {
        error = "mkdir needs exactly one folder name";
        return false;
    }
    options.strFolder = operands.front();
    return true;
}
