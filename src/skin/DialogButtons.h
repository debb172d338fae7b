#pragma once
// The OK and Cancel row at the foot of a small dialog: OK is the default
// button, Cancel rejects; what OK does is the dialog's own.
#include "Vcl.h"

class QBoxLayout;

void AddOkCancel(TDialog *dialog, QBoxLayout *layout, TBitBtn *&ok, TBitBtn *&cancel);
