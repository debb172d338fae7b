#pragma once
// Text the user typed is stored as code page 1250: a character that has no
// byte there would be stored as '?'. Dialogs refuse such text on OK and say
// which characters cannot be kept, before anything is stored.
#include <QString>

#include <vector>

class QWidget;

// When text holds characters that cannot be kept, tells the user over owner
// which they are and returns true.
bool WarnUnkept(QWidget *owner, const QString &text);
// The first of controls (line and plain-text edits; others are passed over)
// whose text cannot be kept is brought into view and focused, and the user
// told as above; false when every text can be kept.
bool RefuseUnkept(QWidget *owner, const std::vector<QWidget *> &controls);
// Makes the pages that hold control current and focuses it.
void BringIntoView(QWidget *control);
