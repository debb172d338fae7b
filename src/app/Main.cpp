#include "Main.h"

TFMain *FMain = nullptr;

TFMain::TFMain(QWidget *parent) : TForm(parent)
{
    FMain = this;
    SetCaption("CTI Talvo");
    resize(320, 480);
}
