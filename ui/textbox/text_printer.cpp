#include "ui/textbox/text_printer.hpp"

#include "ui/textbox/line_painter.hpp"
#include "ui/textbox/text_document.hpp"

#include <QPagedPaintDevice>

TextPrinter::TextPrinter(const TextDocument& document, const QFont& font, QPagedPaintDevice* device)
    : device_(device)
    , layout_(&document) {
    layout_.setBackgroundWork(false);
    layout_.setFont(font, device);
    layout_.setWidth(device->width());
}

int TextPrinter::pageCount() {
    if (pageCount_ < 0)
        paginate();
    return pageCount_;
}

// Lines go on a page while they fit; a line taller than a page gets one of its
// own. A long paragraph's lines are all of one height, so they are counted,
// not laid out.
void TextPrinter::paginate() {
    layout_.completeNow();
    const qreal pageHeight = device_->height();
    pageStarts_.assign(1, 0);
    qreal y = 0;
    qsizetype number = 0;
    auto place = [&](qreal height) {
        if (y > 0 && y + height > pageHeight) {
            pageStarts_.push_back(number);
            y = 0;
        }
        y += height;
        ++number;
    };
    for (qsizetype paragraph = 0; paragraph < layout_.paragraphCount(); ++paragraph) {
        if (layout_.isLongParagraph(paragraph)) {
            const qreal height = layout_.lineAt(paragraph, 0).height();
            for (qsizetype i = 0; i < layout_.linesIn(paragraph); ++i)
                place(height);
        } else {
            const LineLayout::Line first = layout_.lineAt(paragraph, 0);
            for (int i = 0; i < first.layout->lineCount(); ++i)
                place(first.layout->lineAt(i).height());
        }
        layout_.prune();
    }
    lineCount_ = number;
    pageCount_ = static_cast<int>(pageStarts_.size());
}

bool TextPrinter::begin() {
    pageCount();
    nextPage_ = 0;
    return painter_.begin(device_);
}

bool TextPrinter::printNextPage() {
    if (atEnd())
        return true;
    if (nextPage_ > 0 && !device_->newPage())
        return false;
    layout_.prune();
    const qsizetype first = pageStarts_[static_cast<std::size_t>(nextPage_)];
    const qsizetype last = nextPage_ + 1 < pageCount_
                               ? pageStarts_[static_cast<std::size_t>(nextPage_) + 1]
                               : lineCount_;
    LineLayout::Line line = layout_.lineAtNumber(first);
    qreal y = 0;
    for (qsizetype number = first; number < last && line.isValid(); ++number) {
        paintLine(painter_, line, QPointF(0, y));
        y += line.height();
        line = layout_.next(line);
    }
    ++nextPage_;
    return true;
}

bool TextPrinter::end() {
    return painter_.end();
}
