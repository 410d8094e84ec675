// The Morse encoder against the code table spelled out row by row: the output
// is the code of each character that has one, in order, then one "/".
#include "engine/morse.hpp"
#include "fuzz/fuzz_input.hpp"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

const std::map<char16_t, std::string>& table() {
    static const std::map<char16_t, std::string> rows = [] {
        std::map<char16_t, std::string> m;
        const char* letters[][2] = {
            {"a", " . _ /"},      {"b", " _ . . .  /"},   {"c", " _ . _ .  /"},
            {"d", " _ . .  /"},   {"e", " .  /"},         {"f", " . . _ .  /"},
            {"g", " _ _ .  /"},   {"h", " . . . .  /"},   {"i", " . .  /"},
            {"l", " . _ . .  /"}, {"m", " _  _  /"},      {"n", "  _ .  /"},
            {"o", " _  _  _  /"}, {"p", " . _  _  .  /"}, {"q", " _  _  .  _  /"},
            {"r", " .  _  .  /"}, {"s", "  . . .  /"},    {"t", "  _  /"},
            {"u", " . . _  /"},   {"v", " . . .  _   /"}, {"z", "  _  _  . .  /"},
        };
        for (auto& row : letters) {
            m[static_cast<char16_t>(row[0][0])] = row[1];
            m[static_cast<char16_t>(row[0][0] - 'a' + 'A')] = row[1];
        }
        m[u'\''] = "/' ";
        m[u','] = "/, ";
        m[u'.'] = "/. ";
        m[u'?'] = "/?";
        m[u'!'] = "/!";
        m[u'('] = "/(";
        m[u')'] = "/)";
        m[u' '] = "/ ";
        return m;
    }();
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = fuzzText(data, size);
    const std::string out = engine::morse(text);

    FUZZ_CHECK(!out.empty() && out.back() == '/');
    std::string expected;
    for (char16_t c : text) {
        const auto row = table().find(c);
        if (row != table().end())
            expected += row->second;
        FUZZ_CHECK(engine::morse_code(c) == (row == table().end() ? std::string() : row->second));
    }
    expected += '/';
    FUZZ_CHECK(out == expected);
    return 0;
}
