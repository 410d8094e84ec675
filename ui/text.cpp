#include "ui/text.hpp"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <memory>

namespace text {

QString fromWindows1252(std::string_view bytes, qsizetype headroom) {
    QString text;
    // Plain ASCII (every Morse text) needs no code page.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        text.reserve(static_cast<qsizetype>(bytes.size()) + headroom);
        text.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return text;
    }
    QStringDecoder decoder("windows-1252");
    text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (headroom > 0)
        text.reserve(text.size() + headroom);
    return text;
}

namespace {

// The Windows-1252 code of every UTF-16 code unit, -1 for those without one:
// the reverse of Qt's decoder, so that both directions agree. (Qt's encoder
// is not used: it silently drops some characters, such as variation
// selectors, that it should refuse.)
const std::array<qint16, 0x10000>& codes() {
    static const auto table = [] {
        auto codes = std::make_unique<std::array<qint16, 0x10000>>();
        codes->fill(-1);
        for (int byte = 0; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            const QString decoded = fromWindows1252({&c, 1});
            if (decoded.size() == 1)
                (*codes)[decoded[0].unicode()] = static_cast<qint16>(byte);
        }
        return codes;
    }();
    return *table;
}

} // namespace

Windows1252 toWindows1252(const QString& s) {
    const auto& code = codes();
    Windows1252 result;
    result.bytes.resize(s.size());
    qsizetype out = 0;
    for (qsizetype i = 0; i < s.size();) {
        // A surrogate pair is one character, and none has a code.
        const qsizetype width =
            (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
        const qint16 byte = width == 1 ? code[s[i].unicode()] : -1;
        if (byte < 0 && result.firstUnrepresentable.isEmpty())
            result.firstUnrepresentable = s.mid(i, width);
        result.bytes[out++] = byte < 0 ? '?' : static_cast<char>(byte);
        i += width;
    }
    result.bytes.resize(out);
    return result;
}

} // namespace text
