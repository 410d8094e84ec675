// The shift parser accepts exactly the integers of the accepted range, with
// blanks around and an optional sign, cross-checked against std::from_chars.
#include "engine/cipher.hpp"
#include "engine/shift.hpp"
#include "fuzz/fuzz_input.hpp"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace {

bool blank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == u'\u00A0';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = fuzzText(data, size);
    const auto parsed = engine::parse_shift(text);

    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    std::string ascii;
    bool plain = true;
    for (std::size_t i = first; i < last; ++i) {
        if (text[i] > 0x7F)
            plain = false;
        ascii += static_cast<char>(text[i]);
    }

    if (first == last) {
        FUZZ_CHECK(std::get_if<engine::ShiftError>(&parsed) &&
                   std::get<engine::ShiftError>(parsed) == engine::ShiftError::Empty);
        return 0;
    }
    // std::from_chars takes "-" but not "+"; "+-1" must stay refused.
    std::string_view digits = ascii;
    if (!digits.empty() && digits[0] == '+' && (digits.size() < 2 || digits[1] != '-'))
        digits.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool wellFormed = plain && !digits.empty() && end == digits.data() + digits.size() &&
                            (error == std::errc{} || error == std::errc::result_out_of_range);
    if (!wellFormed) {
        FUZZ_CHECK(std::get_if<engine::ShiftError>(&parsed) &&
                   std::get<engine::ShiftError>(parsed) == engine::ShiftError::NotInteger);
        return 0;
    }
    if (error == std::errc::result_out_of_range || value < engine::kMinShift ||
        value > engine::kMaxShift) {
        FUZZ_CHECK(std::get_if<engine::ShiftError>(&parsed) &&
                   std::get<engine::ShiftError>(parsed) == engine::ShiftError::OutOfRange);
        return 0;
    }
    FUZZ_CHECK(std::get_if<int>(&parsed) && std::get<int>(parsed) == value);
    return 0;
}
