#include "ui/artwork/artwork.hpp"

namespace artwork {
namespace {

QIcon twoSizes(const QString& name) {
    QIcon icon;
    icon.addFile(QStringLiteral(":/artwork/%1-16.png").arg(name), QSize(16, 16));
    icon.addFile(QStringLiteral(":/artwork/%1-32.png").arg(name), QSize(32, 32));
    return icon;
}

} // namespace

QIcon notepadIcon() {
    return twoSizes(QStringLiteral("notepad"));
}

QIcon keyIcon() {
    return twoSizes(QStringLiteral("key"));
}

QIcon starIcon() {
    return twoSizes(QStringLiteral("star"));
}

QPixmap picture() {
    return QPixmap(QStringLiteral(":/artwork/picture.png"));
}

} // namespace artwork
