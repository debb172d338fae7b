#pragma once
// Qt's own texts (file, font and message-box dialogs) in the panel's language.
#include <string>

// The Qt language of a language file's code: "cz" is "cs", "eng" is "en".
std::string QtLanguageOf(const std::string &code);
// Loads Qt's catalogue for the language in place of the last one; without
// one (English, or none installed) Qt keeps its own English. True when loaded.
bool LoadQtTranslations(const std::string &code);
