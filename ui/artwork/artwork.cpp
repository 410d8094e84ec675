#include "ui/artwork/artwork.hpp"

namespace artwork {
namespace {

QIcon sizes(const QString& name) {
    QIcon icon;
    icon.addFile(QStringLiteral(":/artwork/%1-16.png").arg(name), QSize(16, 16));
    icon.addFile(QStringLiteral(":/artwork/%1-32.png").arg(name), QSize(32, 32));
    icon.addFile(QStringLiteral(":/artwork/%1-64.png").arg(name), QSize(64, 64));
    return icon;
}

} // namespace

QIcon notepadIcon() {
    return sizes(QStringLiteral("notepad"));
}

QIcon keyIcon() {
    return sizes(QStringLiteral("key"));
}

QIcon starIcon() {
    return sizes(QStringLiteral("star"));
}

QPixmap picture(qreal devicePixelRatio) {
    if (devicePixelRatio <= 1)
        return QPixmap(QStringLiteral(":/artwork/picture.png"));
    QPixmap sharp(QStringLiteral(":/artwork/picture@2x.png"));
    sharp.setDevicePixelRatio(2);
    return sharp;
}

} // namespace artwork
