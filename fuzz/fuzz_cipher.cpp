// The cipher, for any text and any accepted shift: the output has exactly the
// length the rules give (one character a letter, three a space, two for
// ' , .), and each letter is its upper-case code plus the shift, wrapped once.
#include "engine/cipher.hpp"
#include "fuzz/fuzz_input.hpp"

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int span = engine::kMaxShift - engine::kMinShift + 1;
    const int shift = engine::kMinShift + (data[0] | data[1] << 8) % span;
    const std::u16string text = fuzzText(data + 2, size - 2);
    const std::string out = engine::cifrato(text, shift);

    constexpr std::u16string_view letters = u"ABCDEFGHILMNOPQRSTUVZabcdefghilmnopqrstuvz";
    std::size_t at = 0;
    for (char16_t c : text) {
        if (letters.find(c) != std::u16string_view::npos) {
            int code = (c >= u'a' ? c - u'a' + u'A' : c) + shift;
            if (code > 'Z')
                code -= 26;
            FUZZ_CHECK(code >= 0 && code <= 255);
            FUZZ_CHECK(at < out.size() && static_cast<unsigned char>(out[at]) == code);
            at += 1;
        } else if (c == u' ') {
            FUZZ_CHECK(out.compare(at, 3, "   ") == 0);
            at += 3;
        } else if (c == u'\'' || c == u',' || c == u'.') {
            FUZZ_CHECK(at + 1 < out.size() && out[at] == static_cast<char>(c) &&
                       out[at + 1] == ' ');
            at += 2;
        }
    }
    FUZZ_CHECK(at == out.size());
    return 0;
}
