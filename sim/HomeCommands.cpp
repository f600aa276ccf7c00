#include "sim/HomeCommands.h"

#include "link/CalcNameRules.h"
#include "link/VarTypes.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <vector>

namespace {

constexpr char NEGATION = static_cast<char>(173);
const std::string DONE = "Done";

struct VarPath {
    std::string folder;
    std::string name;
};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// `entry` begins with the command word `word` (any case) and a space; the
// rest, trimmed, in `rest`.
bool TakeCommand(const std::string& entry, const std::string& word, std::string& rest)
{
    if (entry.size() <= word.size() || entry[word.size()] != ' ' ||
        LowerCaseCalcName(entry.substr(0, word.size())) != word)
        return false;
    rest = Trim(entry.substr(word.size() + 1));
    return true;
}

// "folder\name", or "name" in main.
VarPath SplitPath(const std::string& path)
{
    const size_t separator = path.find('\\');
    if (separator == std::string::npos)
        return {"main", path};
    return {path.substr(0, separator), path.substr(separator + 1)};
}

std::string DeleteVariables(const std::string& list, CCalcMemory& memory)
{
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const VarPath path = SplitPath(Trim(list.substr(start, comma - start)));
        memory.DeleteVariable(path.folder, path.name);
        start = comma + 1;
    }
    return DONE;
}

std::string MakeFolder(const std::string& name, CCalcMemory& memory)
{
    const std::string folder = LowerCaseCalcName(name);
    if (CheckNewCalcName(folder) != 0)
        return "Error: Invalid name";
    if (!memory.AddFolder(folder))
        return "Error: Duplicate name";
    return DONE;
}

// A program call: a name, perhaps with its folder, then arguments in
// brackets. Empty when the entry is not one, or names no program.
std::optional<std::string> RunProgram(const std::string& entry, const CCalcMemory& memory)
{
    const size_t open = entry.find('(');
    if (open == std::string::npos || open == 0 || entry.back() != ')')
        return std::nullopt;
    const VarPath path = SplitPath(entry.substr(0, open));
    const SimVariable* variable = memory.FindVariable(path.folder, path.name);
    if (variable == nullptr || (variable->type != VAR_PRG && variable->type != VAR_FUNC))
        return std::nullopt;
    // A function's value would take a computer algebra system; it stays as
    // it was called.
    return variable->type == VAR_PRG ? DONE : entry;
}

// A fraction in lowest terms with a positive denominator.
struct Rational {
    int64_t num = 0;
    int64_t den = 1;
};

class CArithmetic {
public:
    explicit CArithmetic(const std::string& text) : m_text(text) {}

    // Empty when the text is not an arithmetic of whole numbers; "undef"
    // for a division by zero, as the calculator says.
    std::optional<std::string> Evaluate()
    {
        std::optional<Rational> value = Sum();
        if (!value || m_nAt != m_text.size() || m_bOverflow)
            return std::nullopt;
        if (m_bUndefined)
            return "undef";
        if (value->den == 1)
            return std::to_string(value->num);
        return std::to_string(value->num) + "/" + std::to_string(value->den);
    }

private:
    bool Peek(char c) const { return m_nAt < m_text.size() && m_text[m_nAt] == c; }
    bool Take(char c)
    {
        if (!Peek(c))
            return false;
        ++m_nAt;
        return true;
    }

    std::optional<Rational> Make(int64_t num, int64_t den)
    {
        if (den == 0) {
            m_bUndefined = true;
            return Rational{0, 1};
        }
        if (den < 0)
            num = -num, den = -den;
        const int64_t divisor = std::gcd(num, den);
        return Rational{num / divisor, den / divisor};
    }
    int64_t Multiply(int64_t a, int64_t b)
    {
        int64_t result = 0;
        if (__builtin_mul_overflow(a, b, &result))
            m_bOverflow = true;
        return result;
    }
    int64_t Add(int64_t a, int64_t b)
    {
        int64_t result = 0;
        if (__builtin_add_overflow(a, b, &result))
            m_bOverflow = true;
        return result;
    }

    std::optional<Rational> Sum()
    {
        std::optional<Rational> left = Product();
        while (left && (Peek('+') || Peek('-'))) {
            const bool minus = m_text[m_nAt++] == '-';
            const std::optional<Rational> right = Product();
            if (!right)
                return std::nullopt;
            const int64_t num = minus ? -right->num : right->num;
            left = Make(Add(Multiply(left->num, right->den), Multiply(num, left->den)), Multiply(left->den, right->den));
        }
        return left;
    }
    std::optional<Rational> Product()
    {
        std::optional<Rational> left = Power();
        while (left && (Peek('*') || Peek('/'))) {
            const bool divide = m_text[m_nAt++] == '/';
            const std::optional<Rational> right = Power();
            if (!right)
                return std::nullopt;
            left = divide ? Make(Multiply(left->num, right->den), Multiply(left->den, right->num))
                          : Make(Multiply(left->num, right->num), Multiply(left->den, right->den));
        }
        return left;
    }
    std::optional<Rational> Power()
    {
        std::optional<Rational> base = Unary();
        if (!base || !Take('^'))
            return base;
        const std::optional<Rational> exponent = Power();
        if (!exponent || exponent->den != 1 || exponent->num < 0 || exponent->num > 62)
            return std::nullopt;
        Rational result{1, 1};
        for (int64_t i = 0; i < exponent->num; ++i)
            result = {Multiply(result.num, base->num), Multiply(result.den, base->den)};
        return result;
    }
    std::optional<Rational> Unary()
    {
        if (Take('-') || Take(NEGATION)) {
            const std::optional<Rational> value = Unary();
            if (!value)
                return std::nullopt;
            return Rational{-value->num, value->den};
        }
        if (Take('(')) {
            const std::optional<Rational> value = Sum();
            return value && Take(')') ? value : std::nullopt;
        }
        const size_t start = m_nAt;
        int64_t number = 0;
        while (m_nAt < m_text.size() && m_text[m_nAt] >= '0' && m_text[m_nAt] <= '9')
            number = Add(Multiply(number, 10), m_text[m_nAt++] - '0');
        if (m_nAt == start)
            return std::nullopt;
        return Rational{number, 1};
    }

    const std::string& m_text;
    size_t m_nAt = 0;
    bool m_bUndefined = false;
    bool m_bOverflow = false;
};

} // namespace

std::string RunHomeCommand(const std::string& entry, CCalcMemory& memory)
{
    const std::string text = Trim(entry);
    std::string rest;
    if (TakeCommand(text, "delvar", rest))
        return DeleteVariables(rest, memory);
    if (TakeCommand(text, "newfold", rest))
        return MakeFolder(rest, memory);
    if (const auto ran = RunProgram(text, memory))
        return *ran;
    std::string spaceless;
    for (char c : text)
        if (c != ' ')
            spaceless += c;
    if (const auto value = CArithmetic(spaceless).Evaluate())
        return *value;
    return text;
}
