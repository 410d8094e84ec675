// Reading the cipher back, at any accepted shift: either the shift is refused
// because a letter becomes a character the cipher also writes for something
// else, or the cipher of any text reads back as the text in capitals without
// the characters that have no rule; and whatever other input reads back as
// some text, that text's own cipher reads back the same.
#include "engine/cipher.hpp"
#include "engine/decode.hpp"
#include "fuzz/fuzz_input.hpp"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace {

std::optional<std::string> decode(std::string_view cipher, int shift) {
    engine::CipherDecoder decoder(shift);
    std::string text;
    for (char c : cipher) {
        if (!decoder.feed(static_cast<unsigned char>(c), text))
            return std::nullopt;
    }
    decoder.finish();
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int span = engine::kMaxShift - engine::kMinShift + 1;
    const int shift = engine::kMinShift + (data[0] | data[1] << 8) % span;
    const std::string images = engine::cifrato(u"ABCDEFGHILMNOPQRSTUVZ", shift);
    if (images.find_first_of(" ',.\n\r") != std::string::npos) {
        FUZZ_CHECK(engine::cipher_ambiguity(shift).has_value());
        bool refused = false;
        try {
            engine::CipherDecoder decoder(shift);
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        return 0;
    }
    FUZZ_CHECK(!engine::cipher_ambiguity(shift).has_value());

    const std::u16string text = fuzzText(data + 2, size - 2);
    constexpr std::u16string_view kept = u"ABCDEFGHILMNOPQRSTUVZabcdefghilmnopqrstuvz ',.";
    std::string expected;
    for (char16_t c : text) {
        if (kept.find(c) != std::u16string_view::npos)
            expected += static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
    }
    const auto decoded = decode(engine::cifrato(text, shift), shift);
    FUZZ_CHECK(decoded.has_value());
    FUZZ_CHECK(*decoded == expected);

    const std::string_view raw(reinterpret_cast<const char*>(data + 2), size - 2);
    if (const auto read = decode(raw, shift)) {
        const std::u16string wide(read->begin(), read->end());
        const auto again = decode(engine::cifrato(wide, shift), shift);
        FUZZ_CHECK(again.has_value() && *again == *read);
    }
    return 0;
}
