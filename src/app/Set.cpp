#include "Set.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"
#include "PanelSettings.h"
#include "Skin.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QVBoxLayout>

namespace {

TLabel *NewLabel(QWidget *parent, int tag, const char *text)
{
    auto *l = new TLabel(parent);
    l->Tag = tag;
    l->SetCaption(text);
    return l;
}

QVBoxLayout *Column(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    v->setAlignment(Qt::AlignTop);
    return v;
}

} // namespace

TFSet::TFSet(QWidget *owner, TSkin *skin, TPanelSettings *settings, bool *porterButton)
    : TDialog(owner), skin_(skin), settings_(settings), porterButton_(porterButton)
{
    Tag = 7100;
    SetCaption("Settings");
    auto *layout = new QVBoxLayout(this);
    PageControl1 = new TPageControl(this);
    PageControl1->setUsesScrollButtons(false);
    layout->addWidget(PageControl1);
    BuildContactPage();
    BuildPhonePage();
    BuildKeysPage();
    BuildSoundPage();
    BuildSkinPage();
    BuildTariffPage();
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCanc));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });

    for (auto [box, value] : boxes_)
        box->setChecked(*value);
    RadioButtonClick->setChecked(!settings->DblClick);
    for (auto [edit, value] : texts_)
        edit->SetText(*value);
    for (auto [key, value] : keys_)
        key->SetHotKey(*value);
    if (Nls)
        Nls->TranslateForm(this, true);
}

TCheckBox *TFSet::Check(QWidget *page, QLayout *into, int tag, const char *text, bool *value)
{
    auto *c = new TCheckBox(page);
    c->Tag = tag;
    c->SetCaption(text);
    into->addWidget(c);
    boxes_.emplace_back(c, value);
    return c;
}

TEdit *TFSet::Field(QWidget *page, QFormLayout *form, int labelTag, const char *label, std::string *value)
{
    auto *e = new TEdit(page);
    auto *l = NewLabel(page, labelTag, label);
    l->setBuddy(e);
    form->addRow(l, e);
    texts_.emplace_back(e, value);
    return e;
}

THotKey *TFSet::Key(QWidget *page, std::uint16_t *value)
{
    auto *k = new THotKey(page);
    keys_.emplace_back(k, value);
    return k;
}

void TFSet::BuildContactPage()
{
    TTabSheet *page = PageControl1->AddPage("Contact");
    page->Tag = 7110;
    auto *v = Column(page);
    TPanelSettings &s = *settings_;
    CheckBoxRing = Check(page, v, 7111, "Restore the panel when the line becomes busy", &s.NoRelaxActivate);
    CheckBoxRelax = Check(page, v, 7112, "Minimise the panel when the line is free", &s.RelaxMinimize);
    CheckBoxDest = Check(page, v, 7113, "Show the called destination", &s.ShowDest);
    CheckBoxPorter = Check(page, v, 7114, "Show the door-entry button", porterButton_ ? porterButton_ : &noPorter_);
    CheckBoxPorter->setVisible(porterButton_ != nullptr);
}

void TFSet::BuildPhonePage()
{
    TTabSheet *page = PageControl1->AddPage("Phone");
    page->Tag = 7130;
    auto *v = Column(page);
    auto *group = new TGroupBox(page);
    group->Tag = 7133;
    group->SetCaption("Lifting the handset");
    auto *g = new QVBoxLayout(group);
    RadioButtonDouble = new TRadioButton(group);
    RadioButtonDouble->Tag = 7131;
    RadioButtonDouble->SetCaption("Double click");
    boxes_.emplace_back(RadioButtonDouble, &settings_->DblClick);
    RadioButtonClick = new TRadioButton(group);
    RadioButtonClick->Tag = 7132;
    RadioButtonClick->SetCaption("Single click");
    g->addWidget(RadioButtonDouble);
    g->addWidget(RadioButtonClick);
    v->addWidget(group);
    auto *form = new QFormLayout;
    EditToVTS = Field(page, form, 7134, "Outside line prefix:", &settings_->ToPSTN);
    v->addLayout(form);
}

void TFSet::BuildKeysPage()
{
    TTabSheet *page = PageControl1->AddPage("Keys");
    page->Tag = 7140;
    auto *grid = new QGridLayout(page);
    grid->setAlignment(Qt::AlignTop);
    TPanelSettings &s = *settings_;
    struct Row {
        THotKey **first, **second;
        std::uint16_t *word, *word2;
        int tag;
        const char *text;
    };
    const Row rows[] = {{&HotKeySPK, &HotKeySPK2, &s.KeySPK, &s.KeySPK2, 7141, "Speaker:"},
                        {&HotKeyVUP, &HotKeyVUP2, &s.KeyVOLUP, &s.KeyVOLUP2, 7145, "Volume up:"},
                        {&HotKeyVDN, &HotKeyVDN2, &s.KeyVOLDOWN, &s.KeyVOLDOWN2, 7146, "Volume down:"},
                        {&HotKeyFLS, &HotKeyFLS2, &s.KeyFLASH, &s.KeyFLASH2, 7142, "Flash:"},
                        {&HotKeyTRF, &HotKeyTRF2, &s.KeyTRF, &s.KeyTRF2, 7143, "Transfer:"}};
    int r = 0;
    for (const Row &row : rows) {
        grid->addWidget(NewLabel(page, row.tag, row.text), r, 0);
        *row.first = Key(page, row.word);
        *row.second = Key(page, row.word2);
        grid->addWidget(*row.first, r, 1);
        grid->addWidget(*row.second, r, 2);
        ++r;
    }
}

void TFSet::BuildSoundPage()
{
    TTabSheet *page = PageControl1->AddPage("Sounds");
    page->Tag = 7150;
    auto *form = new QFormLayout(page);
    TPanelSettings &s = *settings_;
    EditSndStart = Field(page, form, 7151, "Program start:", &s.SoundStart);
    EditSndEnd = Field(page, form, 7152, "Program end:", &s.SoundEnd);
    EditSndOpen = Field(page, form, 7153, "Log-in:", &s.SoundOpen);
    EditSndClose = Field(page, form, 7154, "Log-out:", &s.SoundClose);
    EditSndRing = Field(page, form, 7155, "Ringing:", &s.SoundRing);
    // The ringing sound is kept in the settings but not offered here.
    form->setRowVisible(EditSndRing, false);
}

void TFSet::BuildSkinPage()
{
    TTabSheet *page = PageControl1->AddPage("Skins");
    page->Tag = 7160;
    auto *v = Column(page);
    // Without a skin engine the page shows its switches greyed and writes nowhere.
    bool *flags[3] = {&noSkin_[0], &noSkin_[1], &noSkin_[2]};
    if (skin_) {
        flags[0] = &skin_->Modify;
        flags[1] = &skin_->ModifyFont;
        flags[2] = &skin_->ModifyFce;
    }
    CheckBoxSkinPos = Check(page, v, 7161, "Save the layout of the controls", flags[0]);
    CheckBoxSkinFont = Check(page, v, 7162, "Save the fonts", flags[1]);
    CheckBoxSkinFce = Check(page, v, 7163, "Save the functions of the images", flags[2]);
    page->setEnabled(skin_ != nullptr);
}

void TFSet::BuildTariffPage()
{
    TTabSheet *page = PageControl1->AddPage("Tariff");
    page->Tag = 7170;
    auto *v = Column(page);
    TPanelSettings &s = *settings_;
    CheckBoxTar = Check(page, v, 7171, "Show the call charge", &s.TariffEnabled);
    auto *form = new QFormLayout;
    EditTar = Field(page, form, 7172, "Currency:", &s.Currency);
    EditDelim = Field(page, form, 7173, "Decimal separator:", &s.Delimiter);
    v->addLayout(form);
}

void TFSet::BitBtnOkClick()
{
    for (auto [box, value] : boxes_)
        *value = box->isChecked();
    for (auto [edit, value] : texts_)
        *value = edit->Text();
    for (auto [key, value] : keys_)
        *value = key->HotKey();
    accept();
}
