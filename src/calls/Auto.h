#pragma once
#include "Vcl.h"

#include <string>

class TIniFile;

// The automatic dialler.
class TFAuto : public TForm {
    Q_OBJECT
public:
    explicit TFAuto(QWidget *parent = nullptr);
    ~TFAuto() override;
    void Translate();
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    bool TableOpen() const { return false; }
    void CallStateChanged(const std::string &state) { LineState = state; }
    // The name the dialler gave the number it is calling; "" when it is not dialling.
    std::string GetCalledName(const std::string &) const { return {}; }

    std::string LineState;
};

extern TFAuto *FAuto;
