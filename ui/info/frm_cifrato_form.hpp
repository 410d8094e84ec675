#pragma once

#include "ui/forms.hpp"

#include <QWidget>

class QLabel;

// "Cifrato": explains the letter-shift cipher with a worked example.
class FrmCifratoForm : public QWidget {
    Q_OBJECT

public:
    FrmCifratoForm();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
};

inline forms::Instance<FrmCifratoForm> frm_cifrato;
