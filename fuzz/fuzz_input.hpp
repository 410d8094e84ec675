#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Turns fuzz bytes into UTF-16 text. The first byte chooses how: odd reads
// each further byte as one character (so letters and punctuation come up
// often), even reads pairs of bytes as UTF-16 code units (any character,
// unpaired surrogates too).
inline std::u16string fuzzText(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    const bool bytewise = data[0] & 1;
    ++data;
    --size;
    std::u16string text;
    if (bytewise) {
        text.assign(data, data + size);
    } else {
        text.resize(size / 2);
        std::memcpy(text.data(), data, text.size() * 2);
    }
    return text;
}

// Stops the run with a crash that libFuzzer records, naming the property.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s\n", #condition);                             \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
