#pragma once
#include "Vcl.h"

class TIniFile;

// The door-entry console.
class TFPorter : public TForm {
    Q_OBJECT
public:
    explicit TFPorter(QWidget *parent = nullptr);
    void Translate();
};

extern TFPorter *FPorter;
