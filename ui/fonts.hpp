#pragma once

#include <QFont>
#include <QString>

// Fonts by the names the windows were designed with. "MS Sans Serif" and
// "Arial" are mapped onto Liberation Sans, which has Arial's metrics, so the
// captions fit their fixed sizes.
namespace fonts {

// Registers the substitutions and makes MS Sans Serif 8.25 pt, the windows'
// own font, the program's default; call once after the application exists.
void install();

QFont font(const QString& family, qreal pointSize, bool bold = false);

inline QFont msSansSerif(qreal pointSize, bool bold = false) {
    return font(QStringLiteral("MS Sans Serif"), pointSize, bold);
}

inline QFont arial(qreal pointSize, bool bold = false) {
    return font(QStringLiteral("Arial"), pointSize, bold);
}

} // namespace fonts
