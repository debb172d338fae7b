#pragma once
// The settings dialog: edits the panel's settings, the skin engine's three
// modification switches and the door-entry button's flag in place, only on OK.
#include "HotKey.h"
#include "Vcl.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TSkin;
struct TPanelSettings;

class TFSet : public TDialog {
    Q_OBJECT
public:
    // porterButton: whether the panel shows its door-entry button; the caller
    // applies it after the dialog.
    TFSet(QWidget *owner, TSkin *skin, TPanelSettings *settings, bool *porterButton);

    TPageControl *PageControl1;
    TCheckBox *CheckBoxRing, *CheckBoxRelax, *CheckBoxDest, *CheckBoxPorter;
    TRadioButton *RadioButtonDouble, *RadioButtonClick;
    TEdit *EditToVTS;
    THotKey *HotKeySPK, *HotKeyVUP, *HotKeyVDN, *HotKeyFLS, *HotKeyTRF;
    THotKey *HotKeySPK2, *HotKeyVUP2, *HotKeyVDN2, *HotKeyFLS2, *HotKeyTRF2;
    TEdit *EditSndStart, *EditSndEnd, *EditSndOpen, *EditSndClose, *EditSndRing;
    TCheckBox *CheckBoxSkinPos, *CheckBoxSkinFont, *CheckBoxSkinFce;
    TCheckBox *CheckBoxTar;
    TEdit *EditTar, *EditDelim;
    TBitBtn *BitBtnOk, *BitBtnCanc;

    void BitBtnOkClick();

private:
    void BuildContactPage();
    void BuildPhonePage();
    void BuildKeysPage();
    void BuildSoundPage();
    void BuildSkinPage();
    void BuildTariffPage();
    TCheckBox *Check(QWidget *page, QLayout *into, int tag, const char *text, bool *value);
    TEdit *Field(QWidget *page, class QFormLayout *form, int labelTag, const char *label, std::string *value);
    THotKey *Key(QWidget *page, std::uint16_t *value);

    TSkin *skin_;
    TPanelSettings *settings_;
    bool *porterButton_;
    // Stand-ins written when there is no skin engine or door-entry flag.
    bool noSkin_[3] = {}, noPorter_ = false;
    // Each control with the variable it edits.
    std::vector<std::pair<QAbstractButton *, bool *>> boxes_;
    std::vector<std::pair<TEdit *, std::string *>> texts_;
    std::vector<std::pair<THotKey *, std::uint16_t *>> keys_;
};
