#pragma once

#include <string>
#include <string_view>

namespace engine {

// The program's written Morse: "." for a dot, "_" for a dash, "/" closing every
// letter; the space and the punctuation ' , . ? ! ( ) are copied after a "/".
// Characters without a code (J, K, W, X, Y, digits, accents, line breaks, ...)
// leave no trace. The result always ends with one extra "/" and is plain ASCII.
std::string morse(std::u16string_view text);

// The code appended for one character, empty when it has none.
std::string_view morse_code(char16_t c);

} // namespace engine
