#pragma once
#include "Vcl.h"

class TIniFile;

// The automatic dialler.
class TFAuto : public TForm {
    Q_OBJECT
public:
    explicit TFAuto(QWidget *parent = nullptr);
    void Translate();
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    bool TableOpen() const { return false; }
};

extern TFAuto *FAuto;
