#pragma once

#include "ui/forms.hpp"

#include <QFrame>

class QLabel;
class QPushButton;

// The information window: name, version, platform, a picture and the
// author's details. It has no title bar; "Chiudi" hides it.
class InforForm : public QFrame {
    Q_OBJECT

public:
    InforForm();

    QFrame* fraMainFrame;
    QLabel* lblLicenseTo;
    QLabel* lblCopyright;
    QLabel* lblCompany;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* Nome_Programma;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Chiudi;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Image1;

public slots:
    void Chiudi_Click();
};

inline forms::Instance<InforForm> infor;
