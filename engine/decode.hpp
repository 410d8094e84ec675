#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Reads the program's Morse back into text, one character at a time, so that
// input of any length can stream through. A code is dots and dashes ("." and
// "_", or "-" for a dash) with any blanks among them, closed by "/"; a "/"
// that closes no code is followed by the space or the punctuation it stands
// for (' , . ? ! ( )), or ends the translation. Line breaks leave no trace.
// Letters come out in capitals.
class MorseDecoder {
public:
    enum class Status {
        Ok,
        UnknownCode, // a code that is no letter: code() tells which
        NotMorse,    // a character that has no place in the notation
    };

    // Takes the next character; what it completes goes to `out`.
    Status feed(char32_t c, std::string& out);
    // The end of the text: closes a code still open.
    Status finish(std::string& out);

    // True while the dots and dashes of a code are being read.
    bool inCode() const { return state_ == State::InCode; }
    // The code refused by the last UnknownCode, as dots and underscores.
    std::string_view code() const { return code_; }

private:
    enum class State { Between, InCode, AfterSlash };
    Status close(std::string& out);

    State state_ = State::Between;
    std::string code_;
};

// A letter whose cipher turns it into a character that also comes from
// something else, so that the cipher's text cannot be read back.
struct CipherAmbiguity {
    char letter;         // upper case
    unsigned char image; // the Windows-1252 code it becomes
};

// The first such letter for `shift`, if any: one turned into a space, "'",
// ",", "." (which the cipher writes for those characters of the text) or a
// line break (which leaves no trace in the text read). Throws
// std::out_of_range for a shift the cipher refuses.
std::optional<CipherAmbiguity> cipher_ambiguity(int shift);

// Reads the cipher's text back, one character at a time: each shifted letter
// becomes its letter in capitals, ' , . come back without the space after
// them, and every three spaces (or fewer, at the end of a run) are one space.
class CipherDecoder {
public:
    // Throws std::out_of_range for a shift the cipher refuses and
    // std::invalid_argument for one with an ambiguity.
    explicit CipherDecoder(int shift);

    // Takes the Windows-1252 code of the next character; returns false when
    // no letter and no rule of the cipher gives that character.
    bool feed(unsigned char code, std::string& out);
    void finish();

private:
    std::array<char, 256> letters_{}; // the letter behind each code, or 0
    int spaces_ = 0;                  // spaces read in the current run, modulo 3
    bool afterPunctuation_ = false;   // the next space is the one ' , . bring
};

} // namespace engine
