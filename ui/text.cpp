#include "ui/text.hpp"

#include <QStringDecoder>

#include <algorithm>

namespace text {

QString fromWindows1252(std::string_view bytes) {
    // Plain ASCII (every Morse text) needs no code page.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace text
