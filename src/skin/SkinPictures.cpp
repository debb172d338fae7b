#include "SkinPictures.h"

#include "Cp1250.h"
#include "Paths.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <system_error>
#include <unistd.h>

TDecodedPicture DecodePicture(const std::string &path, int maxSide, qint64 maxPixels)
{
    TDecodedPicture out;
    // Only a regular file: a pipe or a terminal would hold the reader, and
    // the program with it, for ever. Anything else reads as no file.
    QFile file;
    const int fd = OpenRegularFile(path);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        out.Missing = true;
        return out;
    }
    // The size is asked of the file before it is decoded, so a huge picture
    // costs nothing.
    QImageReader reader(&file, QFileInfo(QPath(path)).suffix().toLower().toLatin1());
    const QSize size = reader.size();
    if (size.isValid() &&
        (size.width() > maxSide || size.height() > maxSide || qint64(size.width()) * size.height() > maxPixels)) {
        out.TooLarge = true;
        return out;
    }
    if (!reader.read(&out.Image)) {
        out.Image = QImage();
        out.Error = FromQ(reader.errorString());
    }
    return out;
}

void TSkinPictures::Prefetch(const std::string &path)
{
    if (path.empty() || pending_.count(path))
        return;
    try {
        pending_[path] = std::async(std::launch::async, DecodePicture, path, maxSide_, maxPixels_);
    } catch (const std::system_error &) {
        // No thread to be had: the picture is decoded when it is needed.
        pending_.erase(path);
    }
}

TDecodedPicture TSkinPictures::Take(const std::string &path)
{
    auto it = pending_.find(path);
    if (it == pending_.end())
        return DecodePicture(path, maxSide_, maxPixels_);
    TDecodedPicture picture = it->second.get();
    pending_.erase(it);
    return picture;
}

QImage BottomLeftSeeThrough(QImage picture)
{
    if (picture.isNull())
        return picture;
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = picture.width(), h = picture.height();
    const QRgb key = picture.pixel(0, h - 1) | 0xFF000000u;
    for (int row = 0; row < h; ++row) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        for (int col = 0; col < w; ++col)
            if ((line[col] | 0xFF000000u) == key)
                line[col] = 0;
    }
    return picture;
}
