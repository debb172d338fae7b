#pragma once
// Desktops: saved screen layouts (the panel's place, its skin, and each
// window's placement), kept as *.dst files in <data folder><Home>/.
#include "Timer.h"

#include <functional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;
class TIniFile;

// A window whose placement a desktop holds; it may exist only at times.
struct TPlacedWindow {
    std::function<bool()> Exists;
    std::function<void(const TIniFile &)> LoadPlacement;
    std::function<void(TIniFile &)> SavePlacement;
};

// The skin engine as the desktop manager drives it.
class TDesktopSkin {
public:
    virtual ~TDesktopSkin() = default;
    virtual std::string CurrentSkinName() const = 0;
    virtual void SetSkinName(const std::string &name) = 0;
    virtual void LoadSkin() = 0;
    // A hint that LoadSkin will soon show the named skin.
    virtual void PrefetchSkin(const std::string &) {}
    virtual void SaveSkin(bool removeControls) = 0;
};

class TDesktop {
public:
    TDesktop(QWidget *owner, TDesktopSkin *skin);
    ~TDesktop();

    // Windows alive for the whole run (protocol, phone book, dialler), and
    // the windows that exist only while logged in, each in its fixed order.
    std::vector<TPlacedWindow> MainWindows;
    std::vector<TPlacedWindow> SessionWindows;

    // Lets the skin of the start desktop get ready while the program starts.
    void PrefetchAtStart();
    void LoadAtStart();
    // LoadAtStart in two steps: the panel with its skin, then the other windows.
    void ShowPanelAtStart();
    void PlaceWindowsAtStart();
    void SaveAtExit();
    // A desktop file is named as the file system names it, so that a file
    // whose name has letters beyond code page 1250 is still the one used.
    void SwitchDesktop(const std::string &fileName);
    enum class TSaved { Saved, NameNotKept, NameTooLong, NotWritten };
    // Anything but Saved leaves the current desktop as it was and no file
    // written. A new name must be one that code page 1250 can keep.
    TSaved SaveDesktopAs(const std::string &fileName);
    void LoadWindowPositions();
    void SaveWindowPositions(const std::string &fileName);
    void PrepareFileDialog(QFileDialog *dialog) const;

    std::string Folder() const;
    // The settings' default desktop when it named a file outside the desktop
    // folder and Default.dst stands in for it; empty otherwise.
    const std::string &RefusedDefault() const { return refusedDefault_; }
    // The current desktop's name as text (code page 1250).
    std::string Current() const;
    TTimer &Timer() { return timer_; }

private:
    std::string PathOf(const std::string &fileName) const;
    void LoadDesktopFile();
    void LoadPanel(const TIniFile &ini);
    void PlaceWindows(const TIniFile &ini);
    static std::string SkinNameOf(const class TIniFile &ini);
    void SaveDesktopFile();
    void WriteDesktop(TIniFile &ini) const;
    void WriteSessionWindows(TIniFile &ini) const;
    void Switch();

    QWidget *owner_;
    TDesktopSkin *skin_;
    TTimer timer_;
    std::string home_ = "Desktops";
    std::string default_ = "Default.dst";
    std::string refusedDefault_;
    std::string newDesktop_; // file-system names
    std::string current_;
};

extern TDesktop *Desktop;
