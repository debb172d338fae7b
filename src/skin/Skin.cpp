// Skin file reading and writing, and the deferred switch.
#include "Skin.h"

#include "AtomicFile.h"
#include "Fce.h"
#include "FileDialogs.h"
#include "FontIni.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "QtBridge.h"
#include "SkinHost.h"
#include "Timer.h"
#include "Vcl.h"
#include "WholeCopy.h"

#include <QFileDialog>
#include <QMenu>

#include <algorithm>
#include <optional>
#include <sys/stat.h>

TSkin *Skin = nullptr;
const std::string TSkin::kKeep = "\xFF";

namespace {

const char *const kSet = "Set";
const char *const kShow = "Show";
const char *const kControls = "Controls";
const char *const kFonts = "Fonts";
const char *const kSkinSection = "Skin";
const char *const kSkinListSection = "Skin-List";
// The skin that comes with the program, the last resort of a failed load.
const char *const kShippedSkin = "RizUzezi.skn";
const char *const kSkinFiles = "*.skn";
// Labels carry this tag; images carry their function code.
constexpr int kLabelTag = 900;

bool Exists(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool IsClass(const QObject *o, const char *name) { return std::string(o->metaObject()->className()) == name; }

// "desc|mask|desc|mask" as the file dialog wants it: "desc (mask)".
// Skin controls: the panel's direct children with a tag.
std::vector<QWidget *> SkinControls(QWidget *owner)
{
    std::vector<QWidget *> out;
    for (QObject *o : owner->children())
        if (auto *w = qobject_cast<QWidget *>(o); w && !w->isWindow() && TagOf(w) != 0)
            out.push_back(w);
    return out;
}

} // namespace

TSkin::TSkin(TForm *owner, TImage *backImage, TImage *spriteImage, TSkinHost *host)
    : Owner(owner), BackImage(backImage), SpriteImage(spriteImage),
      host_(host ? host : dynamic_cast<TSkinHost *>(owner))
{
    Timer = new TTimer(this, 50, false);
    Timer->OnTimer = [this] { Switch(); };
    if (host_ && !host_->IniFileName().empty()) {
        TIniFile ini(host_->IniFileName(), 0600);
        Modify = ini.ReadBool(kSkinSection, "Modify", false);
        ModifyFont = ini.ReadBool(kSkinSection, "ModifyFont", true);
        ModifyFce = ini.ReadBool(kSkinSection, "ModifyFce", true);
        Home = ini.ReadString(kSkinSection, "Home", "Skins");
        SkinList = ini.ReadSectionValues(kSkinListSection);
    }
    // Skins are read and written below the data and program folders only.
    if (!StaysBelow(Home))
        Home = "Skins";
    RemoveLeftCopies(OwnFolder(), ShippedFolder(), kSkinFiles);
    if (!MakeOwnFolder())
        NotCopied = OwnFolder();
}

TSkin::~TSkin()
{
    if (!host_ || host_->IniFileName().empty())
        return;
    TIniFile ini(host_->IniFileName(), 0600);
    ini.WriteBool(kSkinSection, "Modify", Modify);
    ini.WriteBool(kSkinSection, "ModifyFont", ModifyFont);
    ini.WriteBool(kSkinSection, "ModifyFce", ModifyFce);
    ini.EraseSection(kSkinListSection);
    for (const auto &[name, value] : SkinList)
        ini.WriteString(kSkinListSection, name, value);
}

std::string TSkin::DataDir() const { return host_ ? WithSlash(host_->DataDir()) : ProgramDir(); }

std::string TSkin::OwnFolder() const { return WithSlash(DataDir() + FsName(Home)); }

std::string TSkin::ShippedFolder() const { return WithSlash(ProgramDir() + FsName(Home)); }

// A skin is named by its file name alone: a name with a folder part would
// reach files that are not the program's, and names no file.
std::string TSkin::SkinFileIn(const std::string &folder, const std::string &name)
{
    return IsPlainFileName(name) ? FindFileNoCase(folder, FsName(name)) : std::string();
}

std::string TSkin::DataSkinFile() const { return SkinFileIn(OwnFolder(), SkinName); }

std::string TSkin::ReadSkinFile(const std::string &name) const
{
    std::string own = SkinFileIn(OwnFolder(), name);
    if (Exists(own))
        return own;
    return SkinFileIn(ShippedFolder(), name);
}

// A folder that is there is the user's, whatever it holds; a missing one
// comes into being only with every shipped skin in it, or a later start
// would take it as done.
bool TSkin::MakeOwnFolder() const
{
    const std::string home = OwnFolder();
    return Exists(home) || CopyDirWhole(home, ShippedFolder(), kSkinFiles);
}

namespace {

std::string Text(int id) { return Nls ? Nls->GetText(id) : std::to_string(id); }

} // namespace

// Pictures are files of the skin folder: a name that climbs out of it is none.
std::string TSkin::PicturePath(const std::string &name) const
{
    return StaysBelow(name) ? FindFileNoCase(ShippedFolder(), FsName(name)) : std::string();
}

bool TSkin::ReadPicture(const std::string &name, QImage &store, std::string &why)
{
    store = QImage();
    if (name.empty())
        return true;
    const std::string path = PicturePath(name);
    TDecodedPicture picture = pictures_.Take(path);
    if (picture.TooLarge) {
        why = NameFromFs(path) + " " + Text(513);
        return false;
    }
    if (!picture.Image.isNull()) {
        store = std::move(picture.Image);
        return true;
    }
    const std::string detail = picture.Missing ? Text(511) : picture.Error;
    why = Text(514) + " " + (path.empty() ? name : NameFromFs(path)) + " (" + detail + ")";
    return false;
}

void TSkin::Prefetch(const std::string &name)
{
    const std::string path = ReadSkinFile(name);
    if (!Exists(path))
        return;
    TIniFile file(path);
    for (const char *key : {"Background", "Foreground"})
        if (std::string picture = file.ReadString(kSet, key, ""); !picture.empty())
            pictures_.Prefetch(PicturePath(picture));
}

// Everything that could leave the panel without a face is checked before
// the panel is touched.
bool TSkin::ReadSkin(const std::string &path, std::string &why)
{
    if (!Exists(path)) {
        why = Text(511);
        return false;
    }
    TIniFile file(path);
    Background = file.ReadString(kSet, "Background", "");
    Foreground = file.ReadString(kSet, "Foreground", "");
    const auto controls = file.ReadSectionValues(kControls);
    if (Background.empty() && controls.empty()) {
        why = Text(512);
        return false;
    }
    const QSize face = FaceSize();
    const long long w = file.ReadInteger(kSet, "Width", face.width());
    const long long h = file.ReadInteger(kSet, "Height", face.height());
    if (w < 1 || h < 1 || w > kMaxPanelSide || h > kMaxPanelSide) {
        why = Text(513);
        return false;
    }
    // Each image is drawn at its own size: one the panel cannot hold would
    // take gigabytes, or more than there is.
    if (std::string control = OversizedControl(controls, w, h, kMaxPictureSide, kMaxImagePixels); !control.empty()) {
        why = control + " " + Text(513);
        return false;
    }
    return ReadPicture(Background, background_, why) && ReadPicture(Foreground, sprite_, why);
}

// A skin that cannot be shown is refused with a word; the panel goes back to
// the last skin that showed, or the shipped one: the user's copy, else the
// program's own, which is shown but never saved over the user's.
void TSkin::LoadSkin()
{
    LoadError.clear();
    const std::string wanted = SkinName, shipped = kShippedSkin;
    // The last one is the program's own copy, even when the user has one.
    const std::pair<std::string, bool> candidates[] = {
        {wanted, false}, {lastShown_, false}, {shipped, false}, {shipped, true}};
    std::vector<std::string> tried;
    bool shown = false;
    onPanel_.clear();
    ownFile_ = false;
    for (const auto &[name, programsOwn] : candidates) {
        if (name.empty())
            continue;
        const std::string path = programsOwn ? SkinFileIn(ShippedFolder(), name) : ReadSkinFile(name);
        if (std::find(tried.begin(), tried.end(), path) != tried.end())
            continue;
        tried.push_back(path);
        std::string why;
        shown = ReadSkin(path, why);
        if (shown) {
            SkinName = lastShown_ = onPanel_ = name;
            ownFile_ = !programsOwn;
            ShowSkin(path);
            break;
        }
        if (LoadError.empty())
            LoadError = Text(510) + "\n" + (path.empty() ? name : NameFromFs(path)) + "\n" + why;
    }
    if (!shown) {
        // Nothing shows: the panel keeps its size, without pictures or controls.
        background_ = sprite_ = QImage();
        Background.clear();
        Foreground.clear();
        ShowSkin(std::string());
    }
    pictures_.Clear();
    if (!LoadError.empty() && host_)
        host_->SkinRefused(LoadError);
}

void TSkin::ShowSkin(const std::string &path)
{
    TIniFile file(path);
    const QSize face = FaceSize();
    Owner->resize(file.ReadInteger(kSet, "Width", face.width()), file.ReadInteger(kSet, "Height", face.height()));
    Type = file.ReadInteger(kSet, "Type", 2);
    Alpha = std::clamp(file.ReadInteger(kSet, "Alpha", 50), 0, 255);
    ColorKey = file.ReadInteger(kSet, "ColorKey", clBtnFace);
    Title = file.ReadBool(kShow, "Title", false);
    FirstName = file.ReadBool(kShow, "FirstName", false);
    TitleAfter = file.ReadBool(kShow, "TitleAfter", false);

    for (auto [target, picture] : {std::pair{BackImage, &background_}, std::pair{SpriteImage, &sprite_}}) {
        if (!target)
            continue;
        target->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        target->SetPicture(picture->isNull() ? QPixmap() : QPixmap::fromImage(*picture));
    }
    if (BackImage) {
        BackImage->setGeometry(Owner->rect());
        BackImage->lower();
    }
    ApplyWindowShape(ColorKey, Alpha, Type);
    KeepOnScreen(Owner);

    Items.fill(TSkinItem());
    ItemCount = 0;
    ClearLookups();
    for (const auto &[name, line] : file.ReadSectionValues(kControls)) {
        if (ItemCount >= kSkinTableSize)
            break;
        // A name the panel already uses would make every lookup ambiguous.
        if (Owner->findChild<QObject *>(ToQ(name)))
            continue;
        if (ControlKind(name) == TSkinControlKind::Image)
            CreateImage(name, line);
        else if (ControlKind(name) == TSkinControlKind::Label)
            CreateLabel(name, line, file);
    }
    ApplySkinList();
    PutHintsBack();
    if (host_)
        host_->SkinShown();
}

// The panel without what it adds below the face: a skin is saved with its own size.
QSize TSkin::FaceSize() const { return {Owner->width(), Owner->height() - (host_ ? host_->BarHeight() : 0)}; }

void TSkin::CreateImage(const std::string &name, const std::string &line)
{
    TSkinItem item = ParseImageLine(line);
    item.Name = name;
    auto *image = new TImage(Owner);
    image->setObjectName(ToQ(name));
    image->setGeometry(item.Left, item.Top, item.Width, item.Height);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->Tag = item.Code;
    image->installEventFilter(this);
    if (item.Code < 900) {
        image->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(image, &QWidget::customContextMenuRequested, this,
                [this, image](const QPoint &pos) { ShowPopup(image, host_ ? host_->PopupMenuImg() : nullptr, pos); });
    }
    RememberControl(name, image, ItemCount);
    Items[static_cast<size_t>(ItemCount++)] = item;
    image->show();
    SetImageState(name, 0);
}

void TSkin::CreateLabel(const std::string &name, const std::string &line, const TIniFile &file)
{
    TLabelFlags flags;
    TSkinItem item = ParseLabelLine(line, flags);
    item.Name = name;
    auto *label = new TLabel(Owner);
    label->setObjectName(ToQ(name));
    label->setAutoFillBackground(!flags.Transparent);
    label->setGeometry(item.Left, item.Top, item.Width, item.Height);
    label->Tag = kLabelTag;
    const Qt::Alignment horizontal =
        flags.Alignment == 'R' ? Qt::AlignRight : (flags.Alignment == 'C' ? Qt::AlignHCenter : Qt::AlignLeft);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->installEventFilter(this);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, label](const QPoint &pos) { ShowPopup(label, host_ ? host_->PopupMenuLab() : nullptr, pos); });
    RememberControl(name, label, ItemCount);
    Items[static_cast<size_t>(ItemCount++)] = item;
    int kept = FindKept(name);
    label->SetCaption(kept >= 0 ? Kept[static_cast<size_t>(kept)].Text : std::string());
    TFont font;
    ReadFontIni(file, font, kFonts, name);
    SetLabelFont(name, font);
    label->show();
}

TFont TSkin::LabelFont(const std::string &name) const
{
    auto it = fonts_.find(name);
    return it == fonts_.end() ? TFont() : it->second;
}

void TSkin::SetLabelFont(const std::string &name, const TFont &font)
{
    TLabel *label = FindLabel(name);
    if (!label)
        return;
    fonts_[name] = font;
    label->setFont(ToQFont(font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQColor(font.Color));
    label->setPalette(palette);
}

void TSkin::SaveSkin(bool removeControls)
{
    // Only the user's file of the skin on the panel is written; with no skin
    // on the panel, the captions kept from the last one are still the ones to keep.
    if (!SkinName.empty() && SkinName == onPanel_)
        WriteSkin(ownFile_);
    if (removeControls) {
        for (QWidget *control : SkinControls(Owner))
            delete control;
        fonts_.clear();
    }
}

void TSkin::WriteSkin(bool toFile)
{
    std::optional<TIniFile> file;
    bool existed = true;
    const std::string path = toFile && MakeOwnFolder() ? DataSkinFile() : std::string();
    if (!path.empty()) {
        existed = Exists(path);
        file.emplace(path);
        const QSize face = FaceSize();
        file->WriteInteger(kSet, "Width", face.width());
        file->WriteInteger(kSet, "Height", face.height());
        file->WriteString(kSet, "Background", Background);
        file->WriteString(kSet, "Foreground", Foreground);
        file->WriteInteger(kSet, "Type", Type);
        file->WriteInteger(kSet, "Alpha", Alpha);
        file->WriteInteger(kSet, "ColorKey", ColorKey);
        file->WriteBool(kShow, "Title", Title);
        file->WriteBool(kShow, "FirstName", FirstName);
        file->WriteBool(kShow, "TitleAfter", TitleAfter);
    }
    const bool lines = file && (Modify || !existed);
    const bool fonts = file && (ModifyFont || !existed);

    Kept.fill(TSkinItem());
    KeptCount = 0;
    for (QWidget *control : SkinControls(Owner)) {
        const std::string name = FromQ(control->objectName());
        const bool image = IsClass(control, "TImage");
        const bool label = IsClass(control, "TLabel");
        if (!image && !label)
            continue;
        if (KeptCount < kSkinTableSize) {
            TSkinItem &kept = Kept[static_cast<size_t>(KeptCount++)];
            kept.Name = name;
            if (label)
                kept.Text = static_cast<TLabel *>(control)->Caption();
        }
        const int index = FindItem(name);
        std::string line;
        if (index >= 0) {
            TSkinItem item = Items[static_cast<size_t>(index)];
            if (Modify) {
                item.Left = control->x();
                item.Top = control->y();
                item.Width = control->width();
                item.Height = control->height();
            }
            if (image) {
                if (ModifyFce)
                    item.Code = TagOf(control);
                line = FormatImageLine(item);
            } else {
                auto *l = static_cast<TLabel *>(control);
                TLabelFlags flags;
                flags.Transparent = !l->autoFillBackground();
                flags.Alignment = (l->alignment() & Qt::AlignRight) ? 'R' : ((l->alignment() & Qt::AlignHCenter) ? 'C' : 'L');
                line = FormatLabelLine(item, flags);
            }
        }
        if (lines)
            file->WriteString(kControls, name, line);
        if (label && fonts)
            WriteFontIni(*file, LabelFont(name), kFonts, name);
    }
}

void TSkin::SelectSkin(const std::string &name)
{
    NewSkinName = name;
    Timer->SetEnabled(true);
}

void TSkin::Switch()
{
    Timer->SetEnabled(false);
    SaveSkin(true);
    SkinName = NewSkinName;
    LoadSkin();
}

void TSkin::ChooseSkinFile(QFileDialog *dialog)
{
    PrepareFileDialog(dialog, "skn", Nls ? Nls->GetText(500) : std::string(), OwnFolder());
}

namespace {

// First entry of a table whose field holds the text exactly, or -1.
int FindIn(const std::array<TSkinItem, kSkinTableSize> &table, std::string TSkinItem::*field, const std::string &text)
{
    if (text.empty())
        return -1;
    for (int i = 0; i < kSkinTableSize; ++i)
        if (table[static_cast<size_t>(i)].*field == text)
            return i;
    return -1;
}

} // namespace

int TSkin::FindItem(const std::string &name) const
{
    // Items are filled only where the table is, so the table is the whole answer.
    auto it = itemIndex_.find(name);
    return it != itemIndex_.end() ? it->second : -1;
}
int TSkin::FindLinkedItem(const std::string &imageName) const { return FindIn(Items, &TSkinItem::Link, imageName); }
int TSkin::FindKept(const std::string &name) const { return FindIn(Kept, &TSkinItem::Name, name); }
