#pragma once

#include <string_view>
#include <variant>

namespace engine {

// Why a shift text was refused.
enum class ShiftError {
    Empty,      // nothing but blanks
    NotInteger, // anything but an optional sign and decimal digits
    OutOfRange, // an integer outside kMinShift..kMaxShift
};

// Reads the cipher's shift as the user typed it: blanks around it are ignored,
// then an optional "+" or "-" and one or more ASCII digits. Returns the shift,
// or why it cannot be used.
std::variant<int, ShiftError> parse_shift(std::u16string_view text);

} // namespace engine
