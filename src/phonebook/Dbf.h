#pragma once
#include "Vcl.h"

#include <string>

class TIniFile;

// The phone-book window.
class TFDbf : public TForm {
    Q_OBJECT
public:
    explicit TFDbf(QWidget *parent = nullptr);
    void Translate(bool rebuildKeys);
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    bool TablesOpen() const { return false; }
};

extern TFDbf *FDbf;
