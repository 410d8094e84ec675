#include "engine/decode.hpp"

#include "engine/cipher.hpp"
#include "engine/morse.hpp"

#include <stdexcept>

namespace engine {
namespace {

constexpr std::string_view kLetters = "ABCDEFGHILMNOPQRSTUVZ";

// No letter's code is longer than four symbols; a longer one is kept only so
// far as to show it in a message.
constexpr std::size_t kLongestShown = 24;

bool is_blank(char32_t c) {
    return c == U' ' || c == U'\t';
}

bool is_line_break(char32_t c) {
    return c == U'\n' || c == U'\r';
}

// The letter of a code written as dots and underscores, or 0.
char letter_of(std::string_view code) {
    static const auto table = [] {
        std::array<std::string, kLetters.size()> codes;
        for (std::size_t i = 0; i < kLetters.size(); ++i) {
            for (char c : morse_code(static_cast<char16_t>(kLetters[i]))) {
                if (c == '.' || c == '_')
                    codes[i] += c;
            }
        }
        return codes;
    }();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == code)
            return kLetters[i];
    }
    return 0;
}

} // namespace

MorseDecoder::Status MorseDecoder::feed(char32_t c, std::string& out) {
    if (is_line_break(c))
        return Status::Ok;
    const bool symbol = c == U'.' || c == U'_' || c == U'-';
    switch (state_) {
    case State::AfterSlash:
        // Right after a "/" that closed no code, "." is the full stop.
        if (is_blank(c)) {
            out += ' ';
            state_ = State::Between;
            return Status::Ok;
        }
        if (c == U'\'' || c == U',' || c == U'.' || c == U'?' || c == U'!' || c == U'(' ||
            c == U')') {
            out += static_cast<char>(c);
            state_ = State::Between;
            return Status::Ok;
        }
        if (c == U'/')
            return Status::Ok;
        if (c == U'_' || c == U'-')
            break;
        return Status::NotMorse;
    case State::Between:
        if (is_blank(c))
            return Status::Ok;
        if (c == U'/') {
            state_ = State::AfterSlash;
            return Status::Ok;
        }
        if (!symbol)
            return Status::NotMorse;
        break;
    case State::InCode:
        if (is_blank(c))
            return Status::Ok;
        if (c == U'/')
            return close(out);
        if (!symbol)
            return Status::NotMorse;
        break;
    }
    if (state_ != State::InCode) {
        code_.clear();
        state_ = State::InCode;
    }
    if (code_.size() < kLongestShown)
        code_ += c == U'.' ? '.' : '_';
    else if (code_.size() == kLongestShown)
        code_ += "…";
    return Status::Ok;
}

MorseDecoder::Status MorseDecoder::close(std::string& out) {
    state_ = State::Between;
    const char letter = letter_of(code_);
    if (letter == 0)
        return Status::UnknownCode;
    out += letter;
    return Status::Ok;
}

MorseDecoder::Status MorseDecoder::finish(std::string& out) {
    const bool open = state_ == State::InCode;
    state_ = State::Between;
    return open ? close(out) : Status::Ok;
}

std::optional<CipherAmbiguity> cipher_ambiguity(int shift) {
    for (char letter : kLetters) {
        const char16_t c = static_cast<char16_t>(letter);
        const auto image = static_cast<unsigned char>(cifrato({&c, 1}, shift).front());
        if (image == ' ' || image == '\'' || image == ',' || image == '.' || image == '\n' ||
            image == '\r')
            return CipherAmbiguity{letter, image};
    }
    return std::nullopt;
}

CipherDecoder::CipherDecoder(int shift) {
    if (cipher_ambiguity(shift))
        throw std::invalid_argument("shift whose cipher cannot be read back");
    // The cipher itself says what each letter becomes.
    for (char letter : kLetters) {
        const char16_t c = static_cast<char16_t>(letter);
        letters_[static_cast<unsigned char>(cifrato({&c, 1}, shift).front())] = letter;
    }
}

bool CipherDecoder::feed(unsigned char code, std::string& out) {
    if (is_line_break(code))
        return true;
    if (code == ' ') {
        if (afterPunctuation_) {
            afterPunctuation_ = false;
        } else {
            // The first space of every three stands for one; a short run
            // at the end still counts as one.
            if (spaces_ == 0)
                out += ' ';
            spaces_ = (spaces_ + 1) % 3;
        }
        return true;
    }
    spaces_ = 0;
    afterPunctuation_ = false;
    if (code == '\'' || code == ',' || code == '.') {
        out += static_cast<char>(code);
        afterPunctuation_ = true;
        return true;
    }
    if (letters_[code] == 0)
        return false;
    out += letters_[code];
    return true;
}

void CipherDecoder::finish() {
    spaces_ = 0;
    afterPunctuation_ = false;
}

} // namespace engine
