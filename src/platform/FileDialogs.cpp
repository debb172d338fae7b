#include "FileDialogs.h"

#include "Cp1250.h"
#include "Paths.h"

#include <QFileDialog>
#include <QPixmapCache>

QStringList NameFilters(const std::string &descriptionMaskPairs)
{
    QStringList out;
    QStringList parts = ToQ(descriptionMaskPairs).split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString mask = QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                             QStringLiteral(")");
        // A description that already shows its mask gets it once.
        out << (parts[i].endsWith(mask) ? parts[i] : parts[i] + mask);
    }
    return out;
}

void PrepareFileDialog(QFileDialog *dialog, const char *extension, const std::string &filter,
                       const std::string &folder)
{
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDefaultSuffix(QString::fromLatin1(extension));
    dialog->setDirectory(QPath(folder));
    QStringList filters = NameFilters(filter);
    if (!filters.isEmpty())
        dialog->setNameFilters(filters);
    dialog->selectFile(QStringLiteral("*.") + QString::fromLatin1(extension));
}

int ExecFileDialog(QFileDialog &dialog)
{
    const int limit = QPixmapCache::cacheLimit();
    QPixmapCache::setCacheLimit(0);
    const int result = dialog.exec();
    QPixmapCache::setCacheLimit(limit);
    return result;
}
