// The lumbo command. With no arguments it starts the window, a program of its
// own so that the command line never loads the window's libraries and needs
// no display; with arguments it is a filter, as Unix tools are.
#include "cli/filter.hpp"

#include "engine/cipher.hpp"
#include "engine/decode.hpp"
#include "engine/shift.hpp"
#include "engine/utf8.hpp"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

constexpr std::string_view kHelp =
    R"(Uso: lumbo                                   apre la finestra
     lumbo --morse [FILE...]                   traduce in Morse
     lumbo --cifrato N [FILE...]               cifra spostando le lettere di N
     lumbo --decodifica --morse [FILE...]      dal Morse al testo
     lumbo --decodifica --cifrato N [FILE...]  dal cifrato al testo
Traduce come la finestra ogni FILE, o lo standard input se non ce n'è o è "-".
Ogni FILE è un testo in UTF-8 e la sua traduzione è una riga dell'uscita.

  --morse          il Morse del programma: "." punto, "_" linea, "/" dopo
                   ogni lettera e una "/" in più alla fine
  --cifrato N      il cifrario a spostamento di lettere, N da -65 a 191
  --decodifica     riporta il Morse o il cifrato al testo, in maiuscolo
  --righe          traduce ogni riga a sé: una riga d'uscita per riga
  --windows-1252   scrive i byte che scrive "Salva" (Windows-1252, CR LF);
                   con --decodifica legge anche il testo così
  -h, --help       mostra questo aiuto ed esce
  -v, --version    mostra la versione ed esce

Esce con 0 se tutto va bene, 1 se un file non si può leggere o tradurre,
2 per un uso sbagliato. Il manuale: man lumbo
)";

[[noreturn]] void usage_error(const std::string& message) {
    std::fprintf(stderr, "lumbo: %s\nPer maggiori informazioni: lumbo --help\n", message.c_str());
    std::exit(2);
}

std::u16string utf16(std::string_view bytes) {
    std::u16string text;
    engine::Utf8Decoder decoder;
    for (char byte : bytes) {
        const char32_t c = decoder.feed(static_cast<unsigned char>(byte));
        if (c == engine::Utf8Decoder::kInvalid)
            text += u'\uFFFD';
        else if (c > 0xFFFF)
            text += u'\uFFFD'; // no digit, which is all that matters here
        else if (c != engine::Utf8Decoder::kIncomplete)
            text += static_cast<char16_t>(c);
    }
    return text;
}

int parse_shift(const std::string& typed) {
    const std::string range = "deve essere un numero intero da " +
                              std::to_string(engine::kMinShift) + " a " +
                              std::to_string(engine::kMaxShift);
    const auto parsed = engine::parse_shift(utf16(typed));
    if (const int* shift = std::get_if<int>(&parsed))
        return *shift;
    switch (std::get<engine::ShiftError>(parsed)) {
    case engine::ShiftError::Empty:
        usage_error("manca lo spostamento dopo --cifrato: " + range);
    case engine::ShiftError::NotInteger:
        usage_error("lo spostamento «" + typed + "» non è un numero intero: " + range);
    case engine::ShiftError::OutOfRange:
        break;
    }
    usage_error("lo spostamento " + typed + " è fuori dai limiti: " + range);
}

std::string what_it_also_is(unsigned char image) {
    switch (image) {
    case ' ':
        return "uno spazio, come ogni spazio del testo";
    case '\n':
    case '\r':
        return "un a capo, che nel testo non lascia traccia";
    default:
        return std::string("«") + static_cast<char>(image) + "», come ogni «" +
               static_cast<char>(image) + "» del testo";
    }
}

// Starts the window program, which lies at a fixed place relative to this one,
// both in the build tree and once installed.
int start_window(char* argv[]) {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    path = path.substr(0, path.rfind('/') + 1) + LUMBO_WINDOW_PATH;
    ::execv(path.c_str(), argv);
    std::fprintf(stderr, "lumbo: impossibile aprire la finestra (%s): %s\n", path.c_str(),
                 cli::reason(errno).c_str());
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 1)
        return start_window(argv);

    cli::Options options;
    bool morse = false;
    bool cipher = false;
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "-h" || arg == "--help") {
            std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        } else if (arg == "-v" || arg == "--version") {
            std::puts("Lumbo 1.0");
            return std::fflush(stdout) == 0 ? 0 : 1;
        } else if (arg == "--morse") {
            morse = true;
        } else if (arg == "--cifrato") {
            if (i + 1 == argc)
                usage_error("manca lo spostamento dopo --cifrato");
            options.shift = parse_shift(argv[++i]);
            cipher = true;
        } else if (arg.starts_with("--cifrato=")) {
            options.shift = parse_shift(arg.substr(10));
            cipher = true;
        } else if (arg == "--decodifica") {
            options.decode = true;
        } else if (arg == "--righe") {
            options.lines = true;
        } else if (arg == "--windows-1252") {
            options.windows1252 = true;
        } else {
            usage_error("opzione sconosciuta «" + arg + "»");
        }
    }
    if (morse && cipher)
        usage_error("--morse e --cifrato non vanno insieme: sceglierne uno");
    if (!morse && !cipher)
        usage_error("manca la traduzione: --morse o --cifrato N");
    options.mode = morse ? cli::Mode::Morse : cli::Mode::Cipher;
    if (cipher && options.decode) {
        if (const auto ambiguity = engine::cipher_ambiguity(options.shift)) {
            usage_error("con lo spostamento " + std::to_string(options.shift) +
                        " il cifrato non si può decodificare: la lettera " + ambiguity->letter +
                        " diventa " + what_it_also_is(ambiguity->image));
        }
    }
    if (files.empty())
        files.emplace_back("-");
    return cli::translate(options, files);
}
