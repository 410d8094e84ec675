#include "engine/shift.hpp"

#include "engine/cipher.hpp"

#include <charconv>
#include <string>

namespace engine {
namespace {

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == u'\u00A0';
}

bool is_ascii_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::variant<int, ShiftError> parse_shift(std::u16string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return ShiftError::Empty;

    // Narrowed to ASCII for std::from_chars, which takes "-" but not "+".
    std::string number;
    if (text.front() == u'-' || text.front() == u'+') {
        if (text.front() == u'-')
            number += '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return ShiftError::NotInteger;
    for (char16_t c : text) {
        if (!is_ascii_digit(c))
            return ShiftError::NotInteger;
        number += static_cast<char>(c);
    }

    int value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range || value < kMinShift || value > kMaxShift)
        return ShiftError::OutOfRange;
    if (error != std::errc{} || end != number.data() + number.size())
        return ShiftError::NotInteger;
    return value;
}

} // namespace engine
