// Renders the program's artwork, drawn as SVG in this folder, into the PNG
// images the windows load: render_art SOURCE.svg OUTPUT.png WIDTH HEIGHT.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SOURCE.svg OUTPUT.png WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int fakeArgc = 1;
    QGuiApplication app(fakeArgc, argv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_art: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt(),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "render_art: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
