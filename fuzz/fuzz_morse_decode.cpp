// Reading Morse back: the translation of any text reads back as the text in
// capitals without the characters that have no code; and whatever other
// input reads back as some text, that text's own translation reads back the same.
#include "engine/decode.hpp"
#include "engine/morse.hpp"
#include "fuzz/fuzz_input.hpp"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

std::optional<std::string> decode(std::string_view morse) {
    engine::MorseDecoder decoder;
    std::string text;
    for (char c : morse) {
        if (decoder.feed(static_cast<unsigned char>(c), text) != engine::MorseDecoder::Status::Ok)
            return std::nullopt;
    }
    if (decoder.finish(text) != engine::MorseDecoder::Status::Ok)
        return std::nullopt;
    return text;
}

std::u16string widen(std::string_view s) {
    return {s.begin(), s.end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = fuzzText(data, size);
    std::string expected;
    for (char16_t c : text) {
        if (!engine::morse_code(c).empty())
            expected += static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
    }
    const auto decoded = decode(engine::morse(text));
    FUZZ_CHECK(decoded.has_value());
    FUZZ_CHECK(*decoded == expected);

    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    if (const auto read = decode(raw)) {
        const auto again = decode(engine::morse(widen(*read)));
        FUZZ_CHECK(again.has_value() && *again == *read);
    }
    return 0;
}
