#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, each at the sizes its windows use.
namespace artwork {

QIcon notepadIcon(); // main window and save dialog
QIcon keyIcon();     // Morse table and cipher explanation
QIcon starIcon();    // information window
// The information window's picture, 252 x 185 device-independent pixels,
// drawn at twice the detail for screens of twice the density.
QPixmap picture(qreal devicePixelRatio = 1);

} // namespace artwork
