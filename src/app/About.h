#pragma once
#include "Vcl.h"

// The about box.
class TFAbout : public TForm {
    Q_OBJECT
public:
    explicit TFAbout(QWidget *parent = nullptr);
    ~TFAbout() override;
    void Translate();
};

extern TFAbout *FAbout;
