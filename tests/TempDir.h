#pragma once
// A fresh folder per test, removed afterwards.
#include <QTemporaryDir>

#include <string>

class TempDir {
public:
    std::string Path() const { return dir_.path().toStdString() + "/"; }
    std::string File(const std::string &name) const { return Path() + name; }

private:
    QTemporaryDir dir_;
};

std::string ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::string &bytes);
