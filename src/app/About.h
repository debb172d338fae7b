#pragma once
#include "Vcl.h"

#include <string>

struct TVersion {
    int Major = 0, Minor = 0, Release = 0, Build = 0;
};

// "a.b.c.d" as the build stamps it; parts that are missing or not 16-bit
// numbers read as 0.
TVersion ParseVersion(const std::string &text);
// Major, a dot, the minor with a leading 0 below 10, then a blank and the
// release's letter (1 = A) when there is a release.
std::string VersionText(const TVersion &v);

// The about box.
class TFAbout : public TDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget *parent = nullptr);
    ~TFAbout() override;
    void Translate();

    TLabel *Label1, *Label2, *Label4, *Version, *LabelInfo;
    TBitBtn *BitBtn1;
    TVersion Ver;

    void ReadVersion();
    // Shows the build date and time.
    void Label4Click();

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
};

extern TFAbout *FAbout;
