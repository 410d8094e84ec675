#pragma once

#include <cstdint>
#include <string>

namespace engine {

// Reads UTF-8 one byte at a time, so that a character may straddle two blocks
// of input. Refuses what the standard forbids: stray continuation bytes,
// overlong forms, surrogates and code points beyond U+10FFFF.
class Utf8Decoder {
public:
    static constexpr char32_t kIncomplete = 0xFFFFFFFF; // more bytes belong to this character
    static constexpr char32_t kInvalid = 0xFFFFFFFE;    // no valid text has these bytes

    // Takes the next byte: returns the character it completes, kIncomplete or
    // kInvalid. After kInvalid the decoder starts afresh with the next byte.
    char32_t feed(unsigned char byte) {
        if (need_ == 0) {
            if (byte < 0x80)
                return byte;
            return lead(byte);
        }
        if (byte < low_ || byte > high_) {
            need_ = 0;
            return kInvalid;
        }
        code_ = code_ << 6 | (byte & 0x3F);
        low_ = 0x80;
        high_ = 0xBF;
        return --need_ == 0 ? code_ : kIncomplete;
    }

    // True while a character has begun and not yet ended.
    bool pending() const { return need_ != 0; }
    void reset() { need_ = 0; }

private:
    char32_t lead(unsigned char byte);

    char32_t code_ = 0;
    int need_ = 0;
    // The range the next byte must fall in: narrower than 80..BF right after
    // some lead bytes, which is how overlong forms and surrogates are refused.
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

// Appends the UTF-8 form of `c`, a Unicode scalar value.
void append_utf8(std::string& out, char32_t c);

} // namespace engine
