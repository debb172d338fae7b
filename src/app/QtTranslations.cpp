#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {
std::unique_ptr<QTranslator> installed;
}

std::string QtLanguageOf(const std::string &code)
{
    if (code == "cz")
        return "cs";
    return code.substr(0, 2);
}

bool LoadQtTranslations(const std::string &code)
{
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    const QString file = QStringLiteral("qtbase_") + QString::fromStdString(QtLanguageOf(code));
    if (!translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) || translator->isEmpty())
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
