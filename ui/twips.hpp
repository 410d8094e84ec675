#pragma once

#include <QRect>
#include <QSize>

// Window layouts are designed in twips; at 96 dots per inch 15 twips make one pixel.
namespace twips {

inline constexpr int kPerPixel = 15;

constexpr int toPixels(int twips) {
    return (twips + kPerPixel / 2) / kPerPixel;
}

constexpr QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

constexpr QSize size(int width, int height) {
    return QSize(toPixels(width), toPixels(height));
}

} // namespace twips
