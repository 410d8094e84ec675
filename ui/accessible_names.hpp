#pragma once

#include <QString>

#include <initializer_list>

class QWidget;

// What a screen reader speaks for one control, found by its object name.
struct AccessibleName {
    const char* control;
    QString name;
    QString description = {};
};

// Names the window's controls. Controls are found by name so that the names
// stay with a control whatever class it is built from.
void nameControls(QWidget& window, std::initializer_list<AccessibleName> names);
