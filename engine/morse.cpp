#include "engine/morse.hpp"

#include <algorithm>
#include <array>

namespace engine {
namespace {

// The irregular spacing inside each code is part of the program's notation:
// saved files and printed pages carry it exactly.
struct Row {
    char character;
    std::string_view code;
};

constexpr Row kLetters[] = {
    {'a', " . _ /"},      {'b', " _ . . .  /"},   {'c', " _ . _ .  /"},
    {'d', " _ . .  /"},   {'e', " .  /"},         {'f', " . . _ .  /"},
    {'g', " _ _ .  /"},   {'h', " . . . .  /"},   {'i', " . .  /"},
    {'l', " . _ . .  /"}, {'m', " _  _  /"},      {'n', "  _ .  /"},
    {'o', " _  _  _  /"}, {'p', " . _  _  .  /"}, {'q', " _  _  .  _  /"},
    {'r', " .  _  .  /"}, {'s', "  . . .  /"},    {'t', "  _  /"},
    {'u', " . . _  /"},   {'v', " . . .  _   /"}, {'z', "  _  _  . .  /"},
};

constexpr Row kPunctuation[] = {
    {'\'', "/' "}, {',', "/, "}, {'.', "/. "}, {'?', "/?"},
    {'!', "/!"},   {'(', "/("},  {')', "/)"},  {' ', "/ "},
};

// Every character with a code is ASCII, so a 128-entry table answers each
// character with one lookup.
constexpr std::array<std::string_view, 128> make_table() {
    std::array<std::string_view, 128> table{};
    for (const Row& row : kLetters) {
        table[static_cast<unsigned char>(row.character)] = row.code;
        table[static_cast<unsigned char>(row.character - 'a' + 'A')] = row.code;
    }
    for (const Row& row : kPunctuation)
        table[static_cast<unsigned char>(row.character)] = row.code;
    return table;
}

constexpr auto kTable = make_table();

} // namespace

std::string_view morse_code(char16_t c) {
    return c < kTable.size() ? kTable[c] : std::string_view{};
}

std::string morse(std::u16string_view text) {
    // Measure first, then copy: one allocation however long the text is.
    std::size_t size = 1;
    for (char16_t c : text)
        size += morse_code(c).size();

    std::string out(size, '/');
    char* cursor = out.data();
    for (char16_t c : text) {
        const std::string_view code = morse_code(c);
        cursor = std::copy(code.begin(), code.end(), cursor);
    }
    return out; // the last character is the closing "/"
}

} // namespace engine
