#include "engine/cipher.hpp"

#include <array>
#include <stdexcept>

namespace engine {
namespace {

// What each ASCII character turns into for one shift; characters without a
// rule map to the empty string. Built once per call: 128 entries.
class Table {
public:
    explicit Table(int shift) {
        for (char upper : std::string_view("ABCDEFGHILMNOPQRSTUVZ")) {
            int code = upper + shift;
            if (code > 'Z')
                code -= 26;
            const std::string letter(1, static_cast<char>(static_cast<unsigned char>(code)));
            entries_[static_cast<unsigned char>(upper)] = letter;
            entries_[static_cast<unsigned char>(upper - 'A' + 'a')] = letter;
        }
        entries_[' '] = "   ";
        entries_['\''] = "' ";
        entries_[','] = ", ";
        entries_['.'] = ". ";
    }

    const std::string& operator[](char16_t c) const {
        return c < entries_.size() ? entries_[c] : empty_;
    }

private:
    std::array<std::string, 128> entries_;
    std::string empty_;
};

} // namespace

std::string cifrato(std::u16string_view text, int shift) {
    if (shift < kMinShift || shift > kMaxShift)
        throw std::out_of_range("shift outside the accepted range");

    const Table table(shift);
    std::size_t size = 0;
    for (char16_t c : text)
        size += table[c].size();

    std::string out;
    out.reserve(size);
    for (char16_t c : text)
        out += table[c];
    return out;
}

} // namespace engine
