#pragma once

#include "ui/forms.hpp"

#include <QWidget>

class QPlainTextEdit;

// "Il Morse": a reference table of the Morse code of each letter.
class CodMorseForm : public QWidget {
    Q_OBJECT

public:
    CodMorseForm();

    QPlainTextEdit* txt_codmorse;
};

inline forms::Instance<CodMorseForm> CodMorse;
