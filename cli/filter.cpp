#include "cli/filter.hpp"

#include "engine/cipher.hpp"
#include "engine/decode.hpp"
#include "engine/morse.hpp"
#include "engine/utf8.hpp"
#include "engine/windows1252.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace cli {
namespace {

// Large reads and writes, as cat and tr do; a text's output is held back up
// to kHold bytes, so that a text refused part-way leaves nothing behind.
constexpr std::size_t kBlock = 128 * 1024;
constexpr std::size_t kSlot = 16; // the longest Morse code, rounded up
constexpr std::size_t kHold = 4 * 1024 * 1024;
constexpr std::size_t kCapacity = kHold + kBlock * kSlot + 64;

bool write_all(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void write_failed() {
    std::fprintf(stderr, "lumbo: impossibile scrivere la traduzione: %s\n", reason(errno).c_str());
    std::exit(1);
}

// Standard output's buffer. The bytes before `textStart_` belong to finished
// texts; those after it to the text being read, which may still be refused.
class Output {
public:
    Output()
        : data_(new char[kCapacity]) {}

    char* cursor() { return data_.get() + used_; }
    void advance(char* to) { used_ = static_cast<std::size_t>(to - data_.get()); }
    void append(std::string_view bytes) {
        std::memcpy(cursor(), bytes.data(), bytes.size());
        used_ += bytes.size();
    }

    // Makes room for one block's output. A text whose output outgrows the
    // hold is written as it goes: it can no longer be taken back.
    void makeRoom() {
        if (used_ <= kHold)
            return;
        writeFinished();
        if (used_ > kHold / 2) {
            if (!write_all(data_.get(), used_))
                write_failed();
            used_ = 0;
            spilled_ = true;
        }
    }

    void beginText() {
        textStart_ = used_;
        spilled_ = false;
    }
    void endText() { textStart_ = used_; }
    // Drops what the refused text has left in the buffer. Returns false when
    // part of it has already been written.
    bool dropText() {
        used_ = textStart_;
        return !spilled_;
    }

    void writeFinished() {
        if (textStart_ == 0)
            return;
        if (!write_all(data_.get(), textStart_))
            write_failed();
        std::memmove(data_.get(), data_.get() + textStart_, used_ - textStart_);
        used_ -= textStart_;
        textStart_ = 0;
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
    std::size_t textStart_ = 0;
    bool spilled_ = false;
};

// What each byte of input turns into: bytes[b], of which length[b] count.
// Every character with a translation is ASCII; the bytes of other characters
// give nothing. Each slot is copied whole, the cursor advanced by its length:
// no branch per character.
struct Table {
    std::array<std::array<char, kSlot>, 256> bytes{};
    std::array<std::uint8_t, 256> length{};
    // The same for translations of at most 7 bytes (the cipher's), packed in
    // one word: the bytes first, the length in the last byte. One load and
    // one store a character.
    std::array<std::uint64_t, 256> packed{};
};

constexpr int kLengthShift = std::endian::native == std::endian::little ? 56 : 0;
constexpr std::size_t kLongestPacked = 7;

Table make_table(const Options& options) {
    Table table{};
    for (char16_t c = 0; c < 128; ++c) {
        std::string bytes;
        if (options.mode == Mode::Morse) {
            bytes = engine::morse_code(c);
        } else {
            for (char code : engine::cifrato({&c, 1}, options.shift)) {
                const auto byte = static_cast<unsigned char>(code);
                // A control character the cipher makes is written as its byte,
                // as the save dialog writes it.
                if (!options.windows1252)
                    engine::append_utf8(bytes, engine::from_windows1252(byte));
                else
                    bytes += code;
            }
        }
        std::memcpy(table.bytes[c].data(), bytes.data(), bytes.size());
        table.length[c] = static_cast<std::uint8_t>(bytes.size());
        std::array<char, 8> word{};
        std::memcpy(word.data(), bytes.data(), std::min(bytes.size(), kLongestPacked));
        word[7] = static_cast<char>(bytes.size());
        std::memcpy(&table.packed[c], word.data(), 8);
    }
    return table;
}

// How a character looks in a message: itself, or its code when it is not
// printable.
std::string shown(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return code;
    }
    std::string s = "«";
    engine::append_utf8(s, c);
    return s + "»";
}

class Translator {
public:
    explicit Translator(const Options& options)
        : options_(options)
        , table_(make_table(options)) {
        if (options.mode == Mode::Cipher && options.decode)
            cipher_.emplace(options.shift);
    }

    // Returns false when the file could not be read or translated.
    bool translateFile(const std::string& name);
    void finish() {
        output_.endText();
        output_.writeFinished();
    }

private:
    bool translateBlock(const unsigned char* begin, const unsigned char* end);
    template <std::size_t Width> bool encode(const unsigned char* begin, const unsigned char* end);
    bool decode(const unsigned char* begin, const unsigned char* end);
    bool decodeCharacter(char32_t c, std::uint64_t at);
    bool endText();
    bool refuse(std::uint64_t at, const std::string& why);

    const Options& options_;
    const Table table_;
    std::optional<engine::CipherDecoder> cipher_;
    engine::MorseDecoder morse_;
    engine::Utf8Decoder utf8_;
    Output output_;
    std::string decoded_;

    std::string name_;             // the file, as the messages name it
    std::uint64_t offset_ = 0;     // of the block's first byte in the file
    std::uint64_t lineStart_ = 0;  // where the current line began, with --righe
    std::uint64_t sequenceAt_ = 0; // where the character being read began
    std::uint64_t codeAt_ = 0;     // where the Morse code being read began
};

bool Translator::refuse(std::uint64_t at, const std::string& why) {
    const bool nothingWritten = output_.dropText();
    std::fprintf(stderr, "lumbo: %s: al byte %" PRIu64 " %s%s\n", name_.c_str(), at + 1,
                 why.c_str(),
                 nothingWritten ? "" : " (la traduzione già scritta di questo testo è incompleta)");
    return false;
}

template <std::size_t Width>
bool Translator::encode(const unsigned char* begin, const unsigned char* end) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    char* out = output_.cursor();
    const unsigned char* p = begin;
    while (p < end) {
        // Runs of ASCII, the bulk of most texts, eight bytes at a time.
        while (!utf8_.pending() && end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & kHighBits)
                break;
            if constexpr (Width <= kLongestPacked) {
                for (int i = 0; i < 8; ++i) {
                    const int shift =
                        std::endian::native == std::endian::little ? 8 * i : 56 - 8 * i;
                    const std::uint64_t slot = table_.packed[(word >> shift) & 0xFF];
                    std::memcpy(out, &slot, 8);
                    out += (slot >> kLengthShift) & 0xFF;
                }
            } else {
                for (int i = 0; i < 8; ++i) {
                    std::memcpy(out, table_.bytes[p[i]].data(), Width);
                    out += table_.length[p[i]];
                }
            }
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char byte = *p;
        if (byte < 0x80 && !utf8_.pending()) {
            std::memcpy(out, table_.bytes[byte].data(), Width);
            out += table_.length[byte];
            ++p;
            continue;
        }
        // Characters beyond ASCII have no translation: they are only checked.
        if (!utf8_.pending())
            sequenceAt_ = offset_ + static_cast<std::uint64_t>(p - begin);
        if (utf8_.feed(byte) == engine::Utf8Decoder::kInvalid) {
            output_.advance(out);
            return refuse(sequenceAt_, "il testo non è UTF-8 valido");
        }
        ++p;
    }
    output_.advance(out);
    return true;
}

bool Translator::decodeCharacter(char32_t c, std::uint64_t at) {
    if (cipher_) {
        const int code = options_.windows1252 ? static_cast<int>(c) : engine::to_windows1252(c);
        if (code >= 0 && cipher_->feed(static_cast<unsigned char>(code), decoded_))
            return true;
        const char32_t character =
            options_.windows1252 ? engine::from_windows1252(static_cast<unsigned char>(c)) : c;
        return refuse(at, "il carattere " + shown(character) +
                              " non viene da nessuna lettera con lo spostamento " +
                              std::to_string(options_.shift));
    }
    if (options_.windows1252)
        c = engine::from_windows1252(static_cast<unsigned char>(c));
    const bool wasInCode = morse_.inCode();
    switch (morse_.feed(c, decoded_)) {
    case engine::MorseDecoder::Status::Ok:
        if (!wasInCode && morse_.inCode())
            codeAt_ = at;
        return true;
    case engine::MorseDecoder::Status::UnknownCode:
        return refuse(codeAt_, "il codice «" + std::string(morse_.code()) + "» non è una lettera");
    case engine::MorseDecoder::Status::NotMorse:
        break;
    }
    return refuse(at, "il carattere " + shown(c) + " non fa parte del Morse");
}

bool Translator::decode(const unsigned char* begin, const unsigned char* end) {
    decoded_.clear();
    bool ok = true;
    for (const unsigned char* p = begin; p < end && ok; ++p) {
        const std::uint64_t at = offset_ + static_cast<std::uint64_t>(p - begin);
        if (options_.windows1252) {
            ok = decodeCharacter(*p, at);
            continue;
        }
        if (!utf8_.pending())
            sequenceAt_ = at;
        const char32_t c = utf8_.feed(*p);
        if (c == engine::Utf8Decoder::kInvalid)
            return refuse(sequenceAt_, "il testo non è UTF-8 valido");
        if (c != engine::Utf8Decoder::kIncomplete)
            ok = decodeCharacter(c, sequenceAt_);
    }
    if (ok)
        output_.append(decoded_);
    return ok;
}

bool Translator::translateBlock(const unsigned char* begin, const unsigned char* end) {
    if (options_.decode)
        return decode(begin, end);
    if (options_.mode == Mode::Morse)
        return encode<kSlot>(begin, end);
    return encode<4>(begin, end);
}

bool Translator::endText() {
    if (utf8_.pending()) {
        utf8_.reset();
        return refuse(sequenceAt_, "il testo finisce a metà di un carattere UTF-8");
    }
    if (options_.decode && !cipher_) {
        decoded_.clear();
        const auto status = morse_.finish(decoded_);
        if (status == engine::MorseDecoder::Status::UnknownCode)
            return refuse(codeAt_,
                          "il codice «" + std::string(morse_.code()) + "» non è una lettera");
        output_.append(decoded_);
    } else if (cipher_) {
        cipher_->finish();
    } else if (options_.mode == Mode::Morse) {
        output_.append("/");
    }
    output_.append(options_.windows1252 ? "\r\n" : "\n");
    output_.endText();
    return true;
}

bool Translator::translateFile(const std::string& name) {
    const bool standardInput = name == "-";
    name_ = standardInput ? "standard input" : name;
    const int fd = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "lumbo: %s: %s\n", name_.c_str(), reason(errno).c_str());
        return false;
    }
    if (!standardInput)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    static std::array<unsigned char, kBlock> block;
    offset_ = 0;
    lineStart_ = 0;
    utf8_.reset();
    morse_ = engine::MorseDecoder();
    if (cipher_)
        cipher_->finish();
    output_.beginText();
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), block.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            output_.dropText();
            std::fprintf(stderr, "lumbo: %s: %s\n", name_.c_str(), reason(error).c_str());
            ok = false;
            break;
        }
        if (n == 0) {
            // With --righe an empty file, or a last line ended by its line
            // break, leaves no further text.
            if (!options_.lines || offset_ > lineStart_)
                ok = endText();
            break;
        }
        const unsigned char* p = block.data();
        const unsigned char* const end = p + n;
        output_.makeRoom();
        while (ok && p < end) {
            const unsigned char* lineEnd = end;
            if (options_.lines) {
                if (const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p)))
                    lineEnd = static_cast<const unsigned char*>(found);
            }
            ok = translateBlock(p, lineEnd);
            offset_ += static_cast<std::uint64_t>(lineEnd - p);
            p = lineEnd;
            if (ok && p < end) {
                ok = endText();
                output_.beginText();
                ++p;
                lineStart_ = ++offset_;
            }
        }
        if (!ok)
            break;
        // Slow input (a terminal, a pipe): pass on what is finished at once.
        if (static_cast<std::size_t>(n) < block.size())
            output_.writeFinished();
    }
    if (!standardInput)
        ::close(fd);
    return ok;
}

} // namespace

std::string reason(int error) {
    switch (error) {
    case ENOENT:
        return "il file non esiste";
    case EACCES:
    case EPERM:
        return "permesso negato";
    case EISDIR:
        return "è una cartella, non un file";
    case ENOSPC:
        return "spazio esaurito sul dispositivo";
    case EIO:
        return "errore di lettura o scrittura sul dispositivo";
    case EPIPE:
        return "l'uscita è stata chiusa";
    default:
        return std::strerror(error);
    }
}

int translate(const Options& options, const std::vector<std::string>& files) {
    Translator translator(options);
    int status = 0;
    for (const std::string& file : files) {
        if (!translator.translateFile(file))
            status = 1;
    }
    translator.finish();
    return status;
}

} // namespace cli
