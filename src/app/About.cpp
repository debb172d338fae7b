#include "About.h"

#include "Nlsfunc.h"

TFAbout *FAbout = nullptr;

TFAbout::TFAbout(QWidget *parent) : TForm(parent)
{
    FAbout = this;
    SetCaption("CTI Talvo");
}

void TFAbout::Translate() { Nls->TranslateForm(this, true); }
