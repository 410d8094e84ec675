#include "ui/fonts.hpp"

namespace fonts {

void installSubstitutions() {
    const QString liberationSans = QStringLiteral("Liberation Sans");
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), liberationSans);
    QFont::insertSubstitution(QStringLiteral("Arial"), liberationSans);
}

QFont font(const QString& family, qreal pointSize, bool bold) {
    QFont result(family);
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    return result;
}

} // namespace fonts
