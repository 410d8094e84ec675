#pragma once

#include <QString>

// What the print system says of a queue that Qt's printing does not: a queue
// that rejects jobs takes a print without a word, and a stopped one holds it.
struct PrintQueue {
    bool known = false;    // the print system answered for this queue
    bool accepting = true; // it takes new jobs
    bool stopped = false;  // it holds jobs until someone starts it again
    QString reason;        // the print system's own words, if any
};

PrintQueue printQueue(const QString& printerName);
