#include "Desktop.h"

#include "Fce.h"
#include "FileDialogs.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"

#include <QDir>
#include <QFileDialog>
#include <QWidget>


TDesktop *Desktop = nullptr;

namespace {
const char *const kDefaultSkin = "RizUzezi.skn";
}

TDesktop::TDesktop(QWidget *owner, TDesktopSkin *skin) : owner_(owner), skin_(skin), timer_(nullptr, 50, false)
{
    timer_.OnTimer = [this] { Switch(); };
    TIniFile ini(ProgramIniPath());
    home_ = ini.ReadString("Desktop", "Home", home_);
    default_ = ini.ReadString("Desktop", "Default", default_);
    QDir().mkpath(QPath(Folder()));
}

TDesktop::~TDesktop() = default;

std::string TDesktop::Folder() const { return WithSlash(DataDir + FsName(home_)); }
std::string TDesktop::PathOf(const std::string &name) const { return Folder() + FsName(name); }

void TDesktop::LoadDesktopFile()
{
    TIniFile ini(PathOf(current_));
    LoadPanel(ini);
    PlaceWindows(ini);
}

void TDesktop::LoadPanel(const TIniFile &ini)
{
    owner_->move(ini.ReadInteger("Set", "Left", 0), ini.ReadInteger("Set", "Top", 0));
    skin_->SetSkinName(SkinNameOf(ini));
}

void TDesktop::PlaceWindows(const TIniFile &ini)
{
    for (auto &w : MainWindows)
        if (w.Exists())
            w.LoadPlacement(ini);
}

void TDesktop::SaveDesktopFile()
{
    TIniFile ini(PathOf(current_));
    ini.WriteInteger("Set", "Left", owner_->frameGeometry().left());
    ini.WriteInteger("Set", "Top", owner_->frameGeometry().top());
    ini.WriteString("Set", "SkinName", skin_->CurrentSkinName());
    for (auto &w : MainWindows)
        if (w.Exists())
            w.SavePlacement(ini);
}

std::string TDesktop::SkinNameOf(const TIniFile &ini) { return ini.ReadString("Set", "SkinName", kDefaultSkin); }

void TDesktop::PrefetchAtStart() { skin_->PrefetchSkin(SkinNameOf(TIniFile(PathOf(default_)))); }

void TDesktop::LoadAtStart()
{
    ShowPanelAtStart();
    PlaceWindowsAtStart();
}

void TDesktop::ShowPanelAtStart()
{
    current_ = default_;
    LoadPanel(TIniFile(PathOf(current_)));
    skin_->LoadSkin();
}

void TDesktop::PlaceWindowsAtStart() { PlaceWindows(TIniFile(PathOf(current_))); }

void TDesktop::SaveAtExit()
{
    current_ = default_;
    skin_->SaveSkin(false);
    SaveDesktopFile();
}

void TDesktop::SwitchDesktop(const std::string &name)
{
    newDesktop_ = name;
    timer_.SetEnabled(true);
}

void TDesktop::Switch()
{
    timer_.SetEnabled(false);
    skin_->SaveSkin(true);
    current_ = newDesktop_;
    LoadDesktopFile();
    skin_->LoadSkin();
    LoadWindowPositions();
}

void TDesktop::SaveDesktopAs(const std::string &name)
{
    current_ = name;
    SaveWindowPositions(name);
    SaveDesktopFile();
}

void TDesktop::LoadWindowPositions()
{
    TIniFile ini(PathOf(current_));
    for (auto &w : SessionWindows)
        if (w.Exists())
            w.LoadPlacement(ini);
}

void TDesktop::SaveWindowPositions(const std::string &name)
{
    TIniFile ini(PathOf(name.empty() ? default_ : name));
    for (auto &w : SessionWindows)
        if (w.Exists())
            w.SavePlacement(ini);
}

void TDesktop::PrepareFileDialog(QFileDialog *dialog) const
{
    if (dialog)
        ::PrepareFileDialog(dialog, "dst", Nls ? Nls->GetText(501) : std::string(), Folder());
}
