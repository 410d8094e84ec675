#include "engine/morse.hpp"

#include <array>
#include <cstdint>
#include <cstring>

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

// Every code fits a 16-byte slot, so each character costs one table lookup
// and one fixed-size copy; the length says how much of the slot counts.
constexpr std::size_t kSlot = 16;

struct Slot {
    std::array<char, kSlot> bytes{};
    std::uint8_t length = 0;
};

// Every character with a code is ASCII: 128 slots answer them all, and slot 0
// (NUL has no code) stands for every character beyond.
constexpr std::array<Slot, 128> make_table() {
    std::array<Slot, 128> table{};
    auto set = [&table](char c, std::string_view code) {
        Slot& slot = table[static_cast<unsigned char>(c)];
        for (std::size_t i = 0; i < code.size(); ++i)
            slot.bytes[i] = code[i];
        slot.length = static_cast<std::uint8_t>(code.size());
    };
    for (const Row& row : kLetters) {
        set(row.character, row.code);
        set(static_cast<char>(row.character - 'a' + 'A'), row.code);
    }
    for (const Row& row : kPunctuation)
        set(row.character, row.code);
    return table;
}

constexpr auto kTable = make_table();

const Slot& slot_of(char16_t c) {
    return kTable[c < kTable.size() ? c : 0];
}

} // namespace

std::string_view morse_code(char16_t c) {
    const Slot& slot = slot_of(c);
    return {slot.bytes.data(), slot.length};
}

std::string morse(std::u16string_view text) {
    // Measure first, then copy: one allocation however long the text is. The
    // slack at the end lets the last slot be copied whole.
    std::size_t size = 1;
    for (char16_t c : text)
        size += slot_of(c).length;

    std::string out(size + kSlot, '\0');
    char* cursor = out.data();
    for (char16_t c : text) {
        const Slot& slot = slot_of(c);
        std::memcpy(cursor, slot.bytes.data(), kSlot);
        cursor += slot.length;
    }
    *cursor = '/';
    out.resize(size);
    return out;
}

} // namespace engine
