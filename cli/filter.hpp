#pragma once

#include <string>
#include <vector>

// The command line's filter: translates texts from files or standard input
// to standard output, a block at a time, in constant memory.
namespace cli {

enum class Mode { Morse, Cipher };

struct Options {
    Mode mode = Mode::Morse;
    int shift = 0;
    bool decode = false;      // from Morse or the cipher back to text
    bool lines = false;       // each line of input is a text of its own
    bool windows1252 = false; // the save dialog's bytes; when decoding, input read that way too
};

// Translates each file ("-" is standard input), each one text, and writes its
// translation as one line. A file that cannot be read or translated is
// reported on standard error and adds nothing of its own to the output.
// Returns the exit status: 0, or 1 when any file failed. The shift must be
// one the chosen translation accepts.
int translate(const Options& options, const std::vector<std::string>& files);

// The reason for an error number, in Italian.
std::string reason(int error);

} // namespace cli
