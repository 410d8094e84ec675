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

// Hands the finished PDF `file` to the print system as one job called `title`,
// on paper `media` (a page size key such as "A4"; empty for the queue's own).
// Returns an empty string, or why the job was not taken.
QString submitPdf(const QString& printerName, const QString& file, const QString& title,
                  const QString& media);
