#pragma once

#include <QFont>
#include <QString>

// Fonts by the names the windows were designed with. "MS Sans Serif" and
// "Arial" are mapped onto Liberation Sans, which has Arial's metrics, so the
// captions fit their fixed sizes.
namespace fonts {

// Registers the substitutions; call once after the application object exists.
void installSubstitutions();

QFont font(const QString& family, qreal pointSize, bool bold = false);

inline QFont msSansSerif(qreal pointSize, bool bold = false) {
    return font(QStringLiteral("MS Sans Serif"), pointSize, bold);
}

inline QFont arial(qreal pointSize, bool bold = false) {
    return font(QStringLiteral("Arial"), pointSize, bold);
}

} // namespace fonts
