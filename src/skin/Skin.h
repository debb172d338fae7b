#pragma once
// The skin engine: builds the panel's face from a skin file (a background
// picture, a sprite sheet and named image and label controls), saves it back,
// switches skins on a deferred tick, and runs the created controls.
#include "Color.h"
#include "Font.h"
#include "SkinLines.h"
#include "SkinPictures.h"

#include <QObject>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QRegion>

#include <array>
#include <climits>
#include <map>
#include <unordered_map>
#include <string>
#include <utility>
#include <vector>

class QFileDialog;
class QMenu;
class QPoint;
class QWidget;
class TForm;
class TImage;
class TLabel;
class TLayeredForm;
class TSkinHost;
class TTimer;

class TSkin : public QObject {
public:
    // host null: the owner itself when it implements TSkinHost.
    TSkin(TForm *owner, TImage *backImage, TImage *spriteImage, TSkinHost *host = nullptr);
    ~TSkin() override;

    // Skin file and switching.
    void LoadSkin();
    // Starts decoding the pictures of the named skin, for a LoadSkin to come.
    void Prefetch(const std::string &name);
    void SaveSkin(bool removeControls);
    void SelectSkin(const std::string &name);
    void ChooseSkinFile(QFileDialog *dialog);
    void ApplyWindowShape(TColor colorKey, int alpha, int type);
    // The owner's layered form; made when the owner has none.
    TLayeredForm *LayeredForm() const;

    // Runtime, by component name.
    void SetImageState(const std::string &name, int state);
    bool SetLabelText(const std::string &name, const std::string &text, int mode);
    void GetImagePicture(const std::string &name, const std::vector<QPixmap> &list, int index);
    void AssignImageFunction(TImage *image, int code);
    void SetImageDial(TImage *image, int code, const std::string &value, const std::string &labelText);
    void SetImageLabelText(const std::string &imageName, const std::string &text);
    std::string GetItemValue(const std::string &name) const;
    std::string GetImageLabelText(const std::string &imageName) const;

    // The control a skin pop-up menu was last opened on.
    QWidget *PopupComponent() const { return popupComponent_; }
    // A skin label's stored font (for the label font dialog); setting it redraws the label.
    TFont LabelFont(const std::string &name) const;
    void SetLabelFont(const std::string &name, const TFont &font);

    // Index in Items / Kept, or -1.
    int FindItem(const std::string &name) const;
    int FindLinkedItem(const std::string &imageName) const;
    int FindKept(const std::string &name) const;

    // Record a change of an "ImageD" image; code -1 and the keep marker keep what the list holds.
    void RecordChange(const std::string &name, int code, const std::string &value, const std::string &labelText);
    static const std::string kKeep;

    // Region last given to the window (colour-key type); empty until one is built.
    QRegion Region;
    int Type = 2;
    TColor ColorKey = clBtnFace;
    int Alpha = 50;
    int KeptCount = 0;
    int ItemCount = 0;
    TTimer *Timer = nullptr;
    TForm *Owner;
    TImage *BackImage;
    TImage *SpriteImage;
    std::array<TSkinItem, kSkinTableSize> Items;
    std::array<TSkinItem, kSkinTableSize> Kept;
    std::string Home = "Skins";
    std::string Background;
    std::string Foreground;
    std::string NewSkinName;
    // name=value pairs in list order; names compared without regard to case.
    std::vector<std::pair<std::string, std::string>> SkinList;
    std::string SkinName;
    bool Modify = false;
    bool ModifyFont = true;
    bool ModifyFce = true;
    bool Title = false, FirstName = false, TitleAfter = false;

    // Where the current skin file is read from and written to.
    std::string DataSkinFile() const;
    std::string ReadSkinFile(const std::string &name) const;
    std::string ReadSkinFile() const { return ReadSkinFile(SkinName); }

    // Why the last load refused the skin it was asked for; empty when it took it.
    std::string LoadError;
    // The skin folder that could not be made with the shipped skins in it; empty when it is there.
    std::string NotCopied;
    // What a skin may ask for: larger ones would take the machine's memory.
    static constexpr int kMaxPanelSide = 4096;
    static constexpr int kMaxPictureSide = 8192;
    static constexpr qint64 kMaxPicturePixels = 16LL * 1024 * 1024;
    // The images of a skin together: room for the largest panel twice over.
    static constexpr qint64 kMaxImagePixels = 2 * kMaxPicturePixels;

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void Switch();
    // The captions of the skin on the panel to keep, and its file when toFile.
    void WriteSkin(bool toFile);
    void CreateImage(const std::string &name, const std::string &line);
    void CreateLabel(const std::string &name, const std::string &line, const class TIniFile &file);
    void ApplySkinList();
    void PutHintsBack();
    TImage *FindImage(const std::string &name) const;
    TLabel *FindLabel(const std::string &name) const;
    // Lookup tables of the controls and items of the loaded skin.
    void ClearLookups();
    void RememberControl(const std::string &name, QWidget *control, int item);
    QWidget *KnownControl(const std::string &name) const;
    void ShowPopup(QWidget *control, QMenu *menu, const QPoint &pos);
    std::string PicturePath(const std::string &name) const;
    bool ReadPicture(const std::string &name, QImage &store, std::string &why);
    bool ReadSkin(const std::string &path, std::string &why);
    void ShowSkin(const std::string &path);
    void MouseDown(QWidget *control, bool leftHeld);
    void MouseUp(QWidget *control);
    void Click(QWidget *control);
    void DblClick(QWidget *control);
    std::string DataDir() const;
    QSize FaceSize() const;
    // The skin folder (Home) of the user's data and the one shipped beside the program.
    std::string OwnFolder() const;
    std::string ShippedFolder() const;
    // The path of the named skin file in folder; empty for a name that is no plain file name.
    static std::string SkinFileIn(const std::string &folder, const std::string &name);
    // The user's skin folder: there already, or made whole now.
    bool MakeOwnFolder() const;

    TSkinHost *host_;
    QPointer<QWidget> popupComponent_;
    std::map<std::string, TFont> fonts_;
    QImage background_;
    QImage sprite_;
    TSkinPictures pictures_{kMaxPictureSide, kMaxPicturePixels};
    QPointer<QWidget> pressed_; // a left press waiting for its click
    std::string lastShown_;     // the last skin that loaded whole
    std::string onPanel_;       // the skin the panel shows; empty when none
    bool ownFile_ = false;      // read from the file a save writes (or none is there yet)

    // Each image's sprite cells, keyed out once per skin load, and the state
    // it shows, so that a state set again costs nothing.
    struct DrawnImage {
        static constexpr int kNone = INT_MIN;
        int state = kNone;
        QSize size;
        std::map<int, QPixmap> cells;
    };
    std::unordered_map<std::string, QPointer<QWidget>> controls_;
    std::unordered_map<std::string, int> itemIndex_;
    std::unordered_map<int, DrawnImage> drawn_;
};

extern TSkin *Skin;
