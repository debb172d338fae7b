#pragma once
// File dialogs for the program's own files (skins, desktops): Qt's own
// dialog, the same everywhere, with the language file's "description|mask"
// filter list, run without leaving its drawings behind.
#include <QStringList>

#include <string>

class QFileDialog;

// "Skins (*.skn)|*.skn|All (*.*)|*.*" as Qt's "Skins (*.skn)", "All (*.*)".
QStringList NameFilters(const std::string &descriptionMaskPairs);
void PrepareFileDialog(QFileDialog *dialog, const char *extension, const std::string &filter,
                       const std::string &folder);
// Runs the dialog modally and gives its result. Qt would keep what each
// dialog draws of its icons in the program-wide pixmap cache, under keys
// made for that dialog's icons alone: never asked for again, the drawings
// would pile up to the cache's 10 MB and their keys past it (Qt 6.4 keeps
// the key of a drawing it drops). So nothing is cached while the dialog is
// open; what other windows had there is drawn again when next needed.
int ExecFileDialog(QFileDialog &dialog);
