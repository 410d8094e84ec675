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

namespace text {

Windows1252 toWindows1252(const QString& s) {
    QStringEncoder encoder("windows-1252");
    Windows1252 result{encoder.encode(s), {}};
    if (!encoder.hasError())
        return result;

    // The encoder writes one byte per character (a surrogate pair is one
    // character). Decoding those bytes back shows which characters did not
    // survive; they become "?", since the encoder's own substitute is a
    // control character that the text may also hold legitimately.
    const QString back =
        fromWindows1252({result.bytes.constData(), static_cast<std::size_t>(result.bytes.size())});
    qsizetype byte = 0;
    for (qsizetype i = 0; i < s.size(); ++byte) {
        const qsizetype width =
            (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
        if (width == 2 || back[byte] != s[i]) {
            result.bytes[byte] = '?';
            if (result.firstUnrepresentable.isEmpty())
                result.firstUnrepresentable = s.mid(i, width);
        }
        i += width;
    }
    return result;
}

} // namespace text
