#include "ui/fonts.hpp"

#include <QApplication>

namespace fonts {

void install() {
    const QString liberationSans = QStringLiteral("Liberation Sans");
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), liberationSans);
    QFont::insertSubstitution(QStringLiteral("Arial"), liberationSans);
    QApplication::setFont(msSansSerif(8.25));
}

QFont font(const QString& family, qreal pointSize, bool bold) {
    QFont result(family);
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    return result;
}

} // namespace fonts
