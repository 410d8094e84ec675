#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` as the whole content of the file at `path`, replacing it
// atomically: the old content stays byte for byte until the new content is
// safely written. A folder that allows no new file falls back to writing the
// file in place; a name that is a device or a pipe is written to directly and
// never replaced. Returns an empty string, or the system's reason for failing.
QString writeWholeFile(const QString& path, const QByteArray& bytes);
