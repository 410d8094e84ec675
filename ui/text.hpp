#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// Conversions between Qt's strings and the engine's: the engine reads UTF-16
// and writes one byte per character, the character's Windows-1252 code.
namespace text {

inline std::u16string_view view(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

// Decodes Windows-1252. The five codes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of those codes.
// `headroom` characters of room are kept after the text, for edits to come.
QString fromWindows1252(std::string_view bytes, qsizetype headroom = 0);

// A text in Windows-1252, each character that the code page cannot represent
// written as "?".
struct Windows1252 {
    QByteArray bytes;
    QString firstUnrepresentable; // the first such character; empty when there is none
};

Windows1252 toWindows1252(const QString& s);

} // namespace text
