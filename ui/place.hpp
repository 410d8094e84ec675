#pragma once

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

// Puts a control at its designed rectangle under the name the code knows it by.
template <class Control> Control* place(Control* control, const char* name, const QRect& rect) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(rect);
    return control;
}

// A label of fixed size showing its caption as plain text from its top-left.
inline QLabel* fixedLabel(QWidget* parent, const char* name, const QString& caption,
                          const QRect& rect) {
    auto* label = place(new QLabel(caption, parent), name, rect);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
