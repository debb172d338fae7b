#pragma once
#include "Vcl.h"

// The telephone front panel.
class TFMain : public TForm {
    Q_OBJECT
public:
    explicit TFMain(QWidget *parent = nullptr);
};

extern TFMain *FMain;
