#include "parse_code.h"

#include <charconv>

namespace {

// The whole text must be digits of the base and the value must fit in 64 bits.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::uint32_t> ParseCode(std::string_view text) {
    constexpr std::uint64_t kLargestCode = 0xFFFFFFFFu;
    constexpr std::uint64_t kLargestNegation = 0x80000000u;

    if (text.starts_with("0x") || text.starts_with("0X")) {
        const auto value = ParseDigits(text.substr(2), 16);
        if (!value || *value > kLargestCode) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(*value);
    }
    if (text.starts_with('-')) {
        const auto magnitude = ParseDigits(text.substr(1), 10);
        if (!magnitude || *magnitude > kLargestNegation) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(0 - *magnitude);
    }
    const auto value = ParseDigits(text, 10);
    if (!value || *value > kLargestCode) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}
