#pragma once

#include "ui/textbox/line_layout.hpp"

#include <QFont>
#include <QPainter>

#include <vector>

class QPagedPaintDevice;
class TextDocument;

// Prints a document in a font on a paged device (a printer or a PDF), its
// lines wrapped at the device's page width and drawn through the same line
// painter as the screen, one page at a time so that a caller can show
// progress and stop. Nothing is added of our own: no header, no page number.
class TextPrinter {
public:
    TextPrinter(const TextDocument& document, const QFont& font, QPagedPaintDevice* device);

    // Lays the whole text out at the page width and counts the pages.
    int pageCount();

    // Starts painting on the device; false when it cannot be painted.
    bool begin();
    // Prints the next page; false when the device failed.
    bool printNextPage();
    bool atEnd() const { return nextPage_ >= pageCount_; }
    int pagesPrinted() const { return nextPage_; }
    // Ends painting; false when the device failed.
    bool end();

private:
    void paginate();

    QPagedPaintDevice* device_;
    LineLayout layout_;
    QPainter painter_;
    std::vector<qsizetype> pageStarts_; // the number of the first line of each page
    qsizetype lineCount_ = 0;
    int pageCount_ = -1;
    int nextPage_ = 0;
};
