#include "engine/utf8.hpp"

namespace engine {

char32_t Utf8Decoder::lead(unsigned char byte) {
    low_ = 0x80;
    high_ = 0xBF;
    if (byte >= 0xC2 && byte <= 0xDF) {
        need_ = 1;
        code_ = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        need_ = 2;
        code_ = byte & 0x0F;
        if (byte == 0xE0)
            low_ = 0xA0; // below: overlong
        else if (byte == 0xED)
            high_ = 0x9F; // above: surrogates
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        need_ = 3;
        code_ = byte & 0x07;
        if (byte == 0xF0)
            low_ = 0x90; // below: overlong
        else if (byte == 0xF4)
            high_ = 0x8F; // above: beyond U+10FFFF
    } else {
        return kInvalid; // a continuation byte, C0, C1 or F5..FF
    }
    return kIncomplete;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace engine
