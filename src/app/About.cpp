#include "About.h"

#include "Nlsfunc.h"

TFAbout *FAbout = nullptr;

TFAbout::TFAbout(QWidget *parent) : TForm(parent)
{
    FAbout = this;
    SetCaption("CTI Talvo");
}

TFAbout::~TFAbout()
{
    if (FAbout == this)
        FAbout = nullptr;
}

void TFAbout::Translate() { Nls->TranslateForm(this, true); }
