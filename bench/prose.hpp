#pragma once

#include <string>

// Generated Italian prose of `size` characters, in paragraphs of a few
// sentences, as a user would paste from a book.
inline std::u16string italianProse(std::size_t size) {
    static const char16_t* const sentences[] = {
        u"Nel mezzo del cammin di nostra vita mi ritrovai per una selva oscura, ",
        u"che la diritta via era smarrita. ",
        u"Ahi quanto a dir qual era è cosa dura esta selva selvaggia e aspra e forte, ",
        u"che nel pensier rinova la paura! ",
        u"Tant'è amara che poco è più morte; ma per trattar del ben ch'i' vi trovai, ",
        u"dirò de l'altre cose ch'i' v'ho scorte. ",
        u"Io non so ben ridir com'i' v'intrai, tant'era pien di sonno a quel punto ",
        u"che la verace via abbandonai. ",
        u"Ma poi ch'i' fui al piè d'un colle giunto, là dove terminava quella valle ",
        u"che m'avea di paura il cor compunto, guardai in alto e vidi le sue spalle. ",
    };
    std::u16string text;
    text.reserve(size + 128);
    std::size_t i = 0;
    while (text.size() < size) {
        text += sentences[i % std::size(sentences)];
        if (++i % 7 == 0)
            text += u"\n";
    }
    text.resize(size);
    return text;
}
