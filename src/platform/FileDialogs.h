#pragma once
// File dialogs for the program's own files (skins, desktops): Qt's own
// dialog, the same everywhere, with the language file's "description|mask"
// filter list.
#include <QStringList>

#include <string>

class QFileDialog;

// "Skins (*.skn)|*.skn|All (*.*)|*.*" as Qt's "Skins (*.skn)", "All (*.*)".
QStringList NameFilters(const std::string &descriptionMaskPairs);
void PrepareFileDialog(QFileDialog *dialog, const char *extension, const std::string &filter,
                       const std::string &folder);
