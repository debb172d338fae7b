#pragma once
// Skin pictures decoded off the GUI thread. At start the panel asks for the
// pictures of the skin it is about to show, and they are decoded while the
// other windows are built; a picture nobody asked for is decoded when needed.
#include <QImage>

#include <future>
#include <map>
#include <string>

struct TDecodedPicture {
    QImage Image;
    bool TooLarge = false; // refused by its size, before decoding
    bool Missing = false;  // no regular file of that name
    std::string Error;     // the reader's words when it could not decode
};

// The picture with every pixel of its bottom-left pixel's colour see-through.
QImage BottomLeftSeeThrough(QImage picture);

// Thread-safe: touches nothing but the file.
TDecodedPicture DecodePicture(const std::string &path, int maxSide, qint64 maxPixels);

class TSkinPictures {
public:
    TSkinPictures(int maxSide, qint64 maxPixels) : maxSide_(maxSide), maxPixels_(maxPixels) {}

    void Prefetch(const std::string &path);
    // The picture at path: the prefetched one when there is one.
    TDecodedPicture Take(const std::string &path);
    // Waits for and drops what was prefetched and not taken.
    void Clear() { pending_.clear(); }

private:
    int maxSide_;
    qint64 maxPixels_;
    std::map<std::string, std::future<TDecodedPicture>> pending_;
};
