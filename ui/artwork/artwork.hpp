#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, each at the sizes its windows use.
namespace artwork {

QIcon notepadIcon(); // main window and save dialog
QIcon keyIcon();     // Morse table and cipher explanation
QIcon starIcon();    // information window
QPixmap picture();   // the information window's 252 x 185 picture

} // namespace artwork
