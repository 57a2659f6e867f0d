#include "vradio/fault.h"

namespace talveron::vradio {

std::optional<unsigned> ParseNumber(std::string_view text, unsigned max) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    unsigned long value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > max) return std::nullopt;
    }
    return static_cast<unsigned>(value);
}

std::optional<Fault> ParseFault(std::string_view text, std::string& error) {
    Fault fault;
    if (text == "silent") {
        fault.kind = Fault::Kind::Silent;
        return fault;
    }
    if (text.substr(0, 9) == "identity=") {
        const auto value = ParseNumber(text.substr(9), 0xFF);
        if (!value) {
            error = "bad identity byte in fault '" + std::string(text) + "' (0..255 or 0x00..0xFF)";
            return std::nullopt;
        }
        fault.kind = Fault::Kind::Identity;
        fault.identity = static_cast<std::uint8_t>(*value);
        return fault;
    }
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) {
        error = "unknown fault '" + std::string(text) + "'";
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, at);
    std::string_view where = text.substr(at + 1);
    if (name == "short") {
        fault.kind = Fault::Kind::Short;
    } else if (name == "long") {
        fault.kind = Fault::Kind::Long;
    } else if (name == "dead") {
        fault.kind = Fault::Kind::Dead;
    } else if (name == "corrupt" || name == "echo") {
        fault.kind = name == "echo" ? Fault::Kind::Echo : Fault::Kind::Corrupt;
        const std::size_t colon = where.find(':');
        if (colon != std::string_view::npos) {
            if (where.substr(colon + 1) != "always") {
                const std::string n(name);
                error = "bad fault '" + std::string(text) + "' (" + n + "@ADDR or " + n +
                        "@ADDR:always)";
                return std::nullopt;
            }
            fault.always = true;
            where = where.substr(0, colon);
        }
    } else {
        error = "unknown fault '" + std::string(text) + "'";
        return std::nullopt;
    }
    const auto address = ParseNumber(where, 0xFFFF);
    if (!address) {
        error = "bad address in fault '" + std::string(text) + "' (0..65535 or 0x0000..0xFFFF)";
        return std::nullopt;
    }
    fault.address = static_cast<std::uint16_t>(*address);
    return fault;
}

}  // namespace talveron::vradio
