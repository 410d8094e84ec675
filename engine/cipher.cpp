#include "engine/cipher.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace engine {
namespace {

// What each ASCII character turns into for one shift, at most three bytes,
// kept in a 4-byte slot so that each character costs one fixed-size copy.
// Characters without a rule, and all beyond ASCII (slot 0), give nothing.
struct Slot {
    std::array<char, 4> bytes{};
    std::uint8_t length = 0;
};

std::array<Slot, 128> make_table(int shift) {
    std::array<Slot, 128> table{};
    auto set = [&table](char c, std::string_view text) {
        Slot& slot = table[static_cast<unsigned char>(c)];
        std::memcpy(slot.bytes.data(), text.data(), text.size());
        slot.length = static_cast<std::uint8_t>(text.size());
    };
    for (char upper : std::string_view("ABCDEFGHILMNOPQRSTUVZ")) {
        int code = upper + shift;
        if (code > 'Z')
            code -= 26;
        const char letter = static_cast<char>(static_cast<unsigned char>(code));
        set(upper, {&letter, 1});
        set(static_cast<char>(upper - 'A' + 'a'), {&letter, 1});
    }
    set(' ', "   ");
    set('\'', "' ");
    set(',', ", ");
    set('.', ". ");
    return table;
}

} // namespace

std::string cifrato(std::u16string_view text, int shift) {
    if (shift < kMinShift || shift > kMaxShift)
        throw std::out_of_range("shift outside the accepted range");

    const auto table = make_table(shift);
    auto slot_of = [&table](char16_t c) -> const Slot& {
        return table[c < table.size() ? c : 0];
    };

    // At most three bytes a character: one pass into a buffer that big.
    std::string out(3 * text.size() + 4, '\0');
    char* cursor = out.data();
    for (char16_t c : text) {
        const Slot& slot = slot_of(c);
        std::memcpy(cursor, slot.bytes.data(), 4);
        cursor += slot.length;
    }
    out.resize(static_cast<std::size_t>(cursor - out.data()));
    return out;
}

} // namespace engine
