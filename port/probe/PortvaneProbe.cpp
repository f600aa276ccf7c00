#include "port/probe/PortvaneProbe.h"

#include "port/PortIo.h"
#include "port/PortvaneBackend.h"

#include <cctype>
#include <cstdio>
#include <memory>

namespace {

constexpr uint16_t DEFAULT_BASE = 0x378;
constexpr uint8_t STATUS_BIT_D0 = 0x20;
constexpr uint8_t STATUS_BIT_D1 = 0x10;

const char* const USAGE =
    "usage: portvane-probe [BASE]\n"
    "Loads the Portvane driver, prints its identification and the status register\n"
    "of the parallel port at BASE (hexadecimal, default 378), and unloads it again.\n"
    "Needs administrator rights.\n";

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

const char* Level(uint8_t status, uint8_t bit)
{
    return (status & bit) ? "high" : "low";
}

} // namespace

std::optional<uint16_t> ParseProbeBase(const std::string& text)
{
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 4)
        return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    if (value == 0 || value > 0xFFFE)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

int RunPortvaneProbe(IPortvaneSystem& system, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err)
{
    uint16_t base = DEFAULT_BASE;
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        out << USAGE;
        return 0;
    }
    if (args.size() > 1) {
        err << USAGE;
        return 2;
    }
    if (args.size() == 1) {
        const auto parsed = ParseProbeBase(args[0]);
        if (!parsed) {
            err << "portvane-probe: \"" << args[0]
                << "\" is not a port base; give one in hexadecimal such as 378 or 278.\n";
            return 2;
        }
        base = *parsed;
    }

    auto backend = std::make_unique<CPortvaneBackend>(system);
    CPortvaneBackend* driver = backend.get();
    CPortIo port(std::move(backend));
    if (!port.OpenDriver()) {
        err << "portvane-probe: " << port.GetLastError() << "\n";
        return 1;
    }

    const auto identification = driver->ReadIdentification();
    out << (identification ? *identification : std::string("(the driver gave no identification)"))
        << "\n";
    const auto statusPort = static_cast<uint16_t>(base + 1);
    // A refused request leaves the record's old byte behind: never shown as
    // if the port had answered with it.
    const std::optional<uint8_t> status = driver->ReadByteChecked(statusPort);
    const uint32_t error = status ? 0 : system.LastErrorCode();
    port.CloseDriver();
    if (!status) {
        err << "portvane-probe: the driver could not read the status register at " << Hex(statusPort, 3);
        // A kernel status that the system passed on unchanged reads best in hex.
        if (error != 0)
            err << " (error " << (error > 0xFFFF ? Hex(error, 8) : std::to_string(error)) << ")";
        err << ".\n";
        return 1;
    }
    out << "Status register at " << Hex(statusPort, 3) << ": " << Hex(*status, 2) << " (line D0 "
        << Level(*status, STATUS_BIT_D0) << ", line D1 " << Level(*status, STATUS_BIT_D1) << ")\n";
    return 0;
}
