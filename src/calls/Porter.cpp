#include "Porter.h"

#include "Nlsfunc.h"

TFPorter *FPorter = nullptr;

TFPorter::TFPorter(QWidget *parent) : TForm(parent)
{
    FPorter = this;
    SetCaption("Door");
}

TFPorter::~TFPorter()
{
    if (FPorter == this)
        FPorter = nullptr;
}

void TFPorter::Translate() { Nls->TranslateForm(this, true); }
