#include "Desktop.h"

#include "Cp1250.h"
#include "Fce.h"
#include "FileDialogs.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include <utility>

TDesktop *Desktop = nullptr;

namespace {
const char *const kDefaultSkin = "RizUzezi.skn";
const char *const kDefaultDesktop = "Default.dst";
}

TDesktop::TDesktop(QWidget *owner, TDesktopSkin *skin) : owner_(owner), skin_(skin), timer_(nullptr, 50, false)
{
    timer_.OnTimer = [this] { Switch(); };
    TIniFile ini(ProgramIniPath());
    home_ = ini.ReadString("Desktop", "Home", home_);
    default_ = ini.ReadString("Desktop", "Default", default_);
    // Like a skin, the default desktop is a file of its folder and nowhere else.
    if (!IsPlainFileName(default_))
        refusedDefault_ = std::exchange(default_, kDefaultDesktop);
    QDir().mkpath(QPath(Folder()));
}

TDesktop::~TDesktop() = default;

std::string TDesktop::Folder() const { return WithSlash(DataDir + FsName(home_)); }
std::string TDesktop::PathOf(const std::string &fileName) const { return FindFileNoCase(Folder(), fileName); }

std::string TDesktop::Current() const { return NameFromFs(current_); }

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
    WriteDesktop(ini);
}

void TDesktop::WriteDesktop(TIniFile &ini) const
{
    ini.WriteInteger("Set", "Left", owner_->frameGeometry().left());
    ini.WriteInteger("Set", "Top", owner_->frameGeometry().top());
    ini.WriteString("Set", "SkinName", skin_->CurrentSkinName());
    for (auto &w : MainWindows)
        if (w.Exists())
            w.SavePlacement(ini);
}

std::string TDesktop::SkinNameOf(const TIniFile &ini) { return ini.ReadString("Set", "SkinName", kDefaultSkin); }

void TDesktop::PrefetchAtStart() { skin_->PrefetchSkin(SkinNameOf(TIniFile(PathOf(FsName(default_))))); }

void TDesktop::LoadAtStart()
{
    ShowPanelAtStart();
    PlaceWindowsAtStart();
}

void TDesktop::ShowPanelAtStart()
{
    current_ = FsName(default_);
    LoadPanel(TIniFile(PathOf(current_)));
    skin_->LoadSkin();
}

void TDesktop::PlaceWindowsAtStart() { PlaceWindows(TIniFile(PathOf(current_))); }

void TDesktop::SaveAtExit()
{
    current_ = FsName(default_);
    skin_->SaveSkin(false);
    SaveDesktopFile();
}

void TDesktop::SwitchDesktop(const std::string &fileName)
{
    newDesktop_ = fileName;
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

TDesktop::TSaved TDesktop::SaveDesktopAs(const std::string &fileName)
{
    const std::string path = PathOf(fileName);
    if (!QFileInfo::exists(QPath(path)) && !cp1250::Unkept(QPath(fileName)).isEmpty())
        return TSaved::NameNotKept;
    if (fileName.size() > LongestFileName(Folder()))
        return TSaved::NameTooLong;
    TIniFile ini(path);
    WriteSessionWindows(ini);
    WriteDesktop(ini);
    if (!ini.UpdateFile())
        return TSaved::NotWritten;
    current_ = fileName;
    return TSaved::Saved;
}

void TDesktop::LoadWindowPositions()
{
    TIniFile ini(PathOf(current_));
    for (auto &w : SessionWindows)
        if (w.Exists())
            w.LoadPlacement(ini);
}

void TDesktop::SaveWindowPositions(const std::string &fileName)
{
    TIniFile ini(PathOf(fileName.empty() ? FsName(default_) : fileName));
    WriteSessionWindows(ini);
}

void TDesktop::WriteSessionWindows(TIniFile &ini) const
{
    for (auto &w : SessionWindows)
        if (w.Exists())
            w.SavePlacement(ini);
}

void TDesktop::PrepareFileDialog(QFileDialog *dialog) const
{
    if (dialog)
        ::PrepareFileDialog(dialog, "dst", Nls ? Nls->GetText(501) : std::string(), Folder());
}
