// The saved file's encoding: text made only of Windows-1252 characters
// encodes and decodes back unchanged; any other text encodes one byte per
// character, with "?" exactly where a character has no Windows-1252 code.
#include "fuzz/fuzz_input.hpp"
#include "ui/text.hpp"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Any bytes are a Windows-1252 text.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QString decoded = text::fromWindows1252(bytes);
    FUZZ_CHECK(decoded.size() == static_cast<qsizetype>(size));
    const text::Windows1252 again = text::toWindows1252(decoded);
    FUZZ_CHECK(again.firstUnrepresentable.isEmpty());
    FUZZ_CHECK(again.bytes == QByteArray(bytes.data(), static_cast<qsizetype>(size)));

    // Any UTF-16 text.
    const std::u16string units = fuzzText(data, size);
    const QString any = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
    const text::Windows1252 encoded = text::toWindows1252(any);
    const QString back = text::fromWindows1252(
        {encoded.bytes.constData(), static_cast<std::size_t>(encoded.bytes.size())});
    qsizetype at = 0;
    bool anyLost = false;
    for (qsizetype i = 0; i < any.size(); ++at) {
        const bool pair =
            any[i].isHighSurrogate() && i + 1 < any.size() && any[i + 1].isLowSurrogate();
        FUZZ_CHECK(at < back.size());
        if (back[at] != any[i] || pair) {
            FUZZ_CHECK(back[at] == u'?');
            anyLost = true;
        }
        i += pair ? 2 : 1;
    }
    FUZZ_CHECK(at == back.size());
    FUZZ_CHECK(anyLost == !encoded.firstUnrepresentable.isEmpty());
    return 0;
}
