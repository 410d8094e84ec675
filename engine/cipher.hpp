#pragma once

#include <string>
#include <string_view>

namespace engine {

// The shifts the cipher accepts: exactly those for which every letter's
// shifted code stays within 0 to 255, one Windows-1252 character.
inline constexpr int kMinShift = -65;
inline constexpr int kMaxShift = 191;

// The letter-shift cipher. Each letter of the 21-letter Italian alphabet (A-I,
// L-V, Z, either case) becomes the upper-case code plus `shift`, wrapped once
// past "Z" by subtracting 26; a space becomes three spaces; ' , . are followed
// by a space; every other character leaves no trace. The result holds one byte
// per character, the Windows-1252 code of that character.
// Throws std::out_of_range for a shift outside kMinShift..kMaxShift.
std::string cifrato(std::u16string_view text, int shift);

} // namespace engine
