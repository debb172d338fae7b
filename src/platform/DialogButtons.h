#pragma once
// The OK and Cancel row at the foot of a small dialog: OK is the default
// button; a dialog's Cancel rejects it. What OK does is the dialog's own.
#include "Vcl.h"

class QHBoxLayout;
class QMessageBox;

// The row, for the caller to put into its layout.
QHBoxLayout *OkCancelRow(QWidget *dialog, TBitBtn *&ok, TBitBtn *&cancel);

// A label with its text id and design text.
TLabel *TaggedLabel(QWidget *owner, int tag, const char *text);

// Widens a message box so that the window manager need not cut its caption.
void FitCaption(QMessageBox &box);
