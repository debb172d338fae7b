// The panel's design-time controls and menus, and keeping their states in
// step with the session and the windows.
#include "About.h"
#include "Auto.h"
#include "Dbf.h"
#include "Fce.h"
#include "Layeredform.h"
#include "LineStatePictures.h"
#include "Main.h"
#include "Nlsfunc.h"
#include "Porter.h"
#include "QtBridge.h"
#include "SessionWindows.h"
#include "ShortcutWord.h"
#include "Xml.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>

namespace {

// The items the main menu and the pop-up both list: logging in and out, then
// one per window, which toggles that window. An item follows its tool button.
struct TSharedItem {
    int Tag;
    const char *Text;
    QAction *TFMain::*Menu;
    QAction *TFMain::*Popup;
    TSpeedButton *TFMain::*Button; // none for the dialler
    QWidget *(*Window)();          // none for logging in and out
};

const TSharedItem kSharedItems[] = {
    {101, "Log in", &TFMain::MenuOpen, &TFMain::PopupOpen, &TFMain::SpeedButtonOpen, nullptr},
    {102, "Log out", &TFMain::MenuClose, &TFMain::PopupClose, &TFMain::SpeedButtonClose, nullptr},
    {111, "Protocol", &TFMain::MenuXML, &TFMain::PopupXML, &TFMain::SpeedButtonXML, []() -> QWidget * { return FXML; }},
    {112, "Phone book", &TFMain::MenuDbf, &TFMain::PopupDbf, &TFMain::SpeedButtonDbf,
     []() -> QWidget * { return FDbf; }},
    {113, "Dialler", &TFMain::MenuAuto, &TFMain::PopupAuto, nullptr, []() -> QWidget * { return FAuto; }},
    {114, "History", &TFMain::MenuHist, &TFMain::PopupHist, &TFMain::SpeedButtonHist,
     []() -> QWidget * { return FHist; }},
    {115, "Accounting", &TFMain::MenuAcc, &TFMain::PopupAcc, &TFMain::SpeedButtonAcc,
     []() -> QWidget * { return FAcc; }},
    {116, "Event log", &TFMain::MenuLog, &TFMain::PopupLog, &TFMain::SpeedButtonLog,
     []() -> QWidget * { return FLog; }},
    {117, "Waiting calls", &TFMain::MenuFront, &TFMain::PopupFront, &TFMain::SpeedButtonFront,
     []() -> QWidget * { return FFront; }},
    {118, "Held calls", &TFMain::MenuHold, &TFMain::PopupHold, &TFMain::SpeedButtonHold,
     []() -> QWidget * { return FHold; }},
    {119, "Parked calls", &TFMain::MenuPark, &TFMain::PopupPark, &TFMain::SpeedButtonPark,
     []() -> QWidget * { return FPark; }},
    {120, "Speed dials", &TFMain::MenuPersonal, &TFMain::PopupPersonal, &TFMain::SpeedButtonPersonal,
     []() -> QWidget * { return FPer; }},
    {121, "Door entry", &TFMain::MenuPorter, &TFMain::PopupPorter, &TFMain::SpeedButtonPorter,
     []() -> QWidget * { return FPorter; }},
};

} // namespace

void TFMain::BuildFace()
{
    Image0 = new TImage(this);
    Image0->setObjectName(QStringLiteral("Image0"));
    Image0->setScaledContents(false);
    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    // The panel's own colour is the button face, the key a skin has by default.
    QPalette face = palette();
    face.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(face);
    LayeredForm1 = new TLayeredForm(this);
    LayeredForm1->setObjectName(QStringLiteral("LayeredForm1"));
    LayeredForm1->SetColorKey(clBlack);
    LayeredForm1->SetAlpha(255);
    LayeredForm1->Loaded();
}

void TFMain::BuildControls()
{
    ImageList1 = MakeLineStatePictures(16);
    // Dragging the panel by its face.
    Image0->installEventFilter(this);

    ToolBar1 = new TToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    // Glyphs, as on the other windows' tool bars: the words are the hints,
    // which follow the language.
    auto button = [this](const char *name, int tag, const char *glyph) {
        auto *b = new TSpeedButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->Tag = tag;
        b->setText(QString::fromUtf8(glyph));
        b->setCheckable(true);
        ToolBar1->addWidget(b);
        return b;
    };
    SpeedButtonOpen = button("SpeedButtonOpen", 160, "\u25B6");
    SpeedButtonClose = button("SpeedButtonClose", 161, "\u25A0");
    SpeedButtonXML = button("SpeedButtonXML", 162, "\u21C5");
    SpeedButtonDbf = button("SpeedButtonDbf", 163, "\u2630");
    SpeedButtonHist = button("SpeedButtonHist", 164, "\u21BA");
    SpeedButtonAcc = button("SpeedButtonAcc", 165, "\u00A4");
    SpeedButtonLog = button("SpeedButtonLog", 166, "\u2261");
    SpeedButtonFront = button("SpeedButtonFront", 167, "\u22EF");
    SpeedButtonHold = button("SpeedButtonHold", 168, "\u2016");
    SpeedButtonPark = button("SpeedButtonPark", 169, "\u24C5");
    SpeedButtonPersonal = button("SpeedButtonPersonal", 170, "\u2605");
    SpeedButtonPorter = button("SpeedButtonPorter", 171, "\u25AF");
    SpeedButtonOpen->setCheckable(false);
    SpeedButtonClose->setCheckable(false);
    ToolBar1->hide();
    // The panel's face is the skin; the status texts are kept for whoever asks.
    StatusBar1 = new QStatusBar(this);
    for (auto &panel : StatusPanels) {
        panel = new TLabel(StatusBar1);
        StatusBar1->addWidget(panel);
    }
    StatusBar1->hide();

    Timer1 = new TTimer(this, 200, true);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    TimerClock = new TTimer(this, 1000, true);
    TimerClock->OnTimer = [this] { TimerClockTimer(); };
    TimerOnOff = new TTimer(this, 100, false);
    TimerOnOff->OnTimer = [this] { TimerOnOffTimer(); };
    TimerDest = new TTimer(this, 1500, false);
    TimerDest->OnTimer = [this] { TimerDestTimer(); };
}

QAction *TFMain::AddItem(QMenu *menu, int tag, const char *text)
{
    QAction *item = menu->addAction(QString::fromLatin1(text));
    SetTag(item, tag);
    return item;
}

void TFMain::BuildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->hide();
    QMenu *file = MainMenu->addMenu(QStringLiteral("File"));
    SetTag(file->menuAction(), 100);
    QMenu *windows = MainMenu->addMenu(QStringLiteral("Windows"));
    SetTag(windows->menuAction(), 110);
    PopupMenu1 = new QMenu(this);
    for (const TSharedItem &item : kSharedItems) {
        if (item.Tag == 111) // the first window's: apart from logging in and out
            PopupMenu1->addSeparator();
        this->*item.Menu = AddItem(item.Window ? windows : file, item.Tag, item.Text);
        this->*item.Popup = AddItem(PopupMenu1, item.Tag, item.Text);
    }
    MenuExit = AddItem(file, 103, "Exit");
    QMenu *settings = MainMenu->addMenu(QStringLiteral("Settings"));
    SetTag(settings->menuAction(), 130);
    MenuSpeeds = AddItem(settings, 131, "Tool bar");
    QAction *set2 = AddItem(settings, 132, "Settings...");
    LanguageSel = settings->addMenu(QStringLiteral("Language"));
    SetTag(LanguageSel->menuAction(), 133);
    QMenu *help = MainMenu->addMenu(QStringLiteral("Help"));
    SetTag(help->menuAction(), 140);
    AddHelpItems(help);

    PopupMenu1->addSeparator();
    QAction *popupSkin = AddItem(PopupMenu1, 134, "Skin...");
    QAction *popupDesktop = AddItem(PopupMenu1, 135, "Desktop...");
    QAction *saveDesktop = AddItem(PopupMenu1, 136, "Save desktop as...");
    PopupLanguage = PopupMenu1->addMenu(QStringLiteral("Language"));
    SetTag(PopupLanguage->menuAction(), 133);
    QAction *popupApplication = AddItem(PopupMenu1, 132, "Settings...");
    QMenu *popupHelp = PopupMenu1->addMenu(QStringLiteral("Help"));
    SetTag(popupHelp->menuAction(), 140);
    AddHelpItems(popupHelp);
    // The main menu is hidden: every item of it is reached from here.
    MainItems_ = PopupMenu1->addMenu(QStringLiteral("Main menu"));
    SetTag(MainItems_->menuAction(), 139);
    MainItems_->addActions(MainMenu->actions());
    PopupMenu1->addSeparator();
    QAction *hideToTray = AddItem(PopupMenu1, 137, "Hide to tray");
    QAction *minimise = AddItem(PopupMenu1, 138, "Minimise");
    PopupMenu1->addSeparator();
    QAction *exit = AddItem(PopupMenu1, 103, "Exit");

    PopupMenuImg_ = new QMenu(this);
    BuildImageMenu();
    PopupMenuLab_ = new QMenu(this);
    QAction *labelFont = AddItem(PopupMenuLab_, 150, "Font...");

    // Each window is toggled from its tool button, its menu item and its pop-up item.
    for (const TSharedItem &item : kSharedItems) {
        if (!item.Window)
            continue;
        auto toggle = [this, window = item.Window] { ToggleWindow(window()); };
        if (item.Button)
            connect(this->*item.Button, &QToolButton::clicked, this, toggle);
        for (QAction *action : {this->*item.Menu, this->*item.Popup}) {
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, toggle);
        }
    }
    MenuSpeeds->setCheckable(true);
    connect(SpeedButtonOpen, &QToolButton::clicked, this, [this] { SpeedButtonOpenClick(); });
    connect(SpeedButtonClose, &QToolButton::clicked, this, [this] { SpeedButtonCloseClick(); });
    for (QAction *a : {MenuOpen, PopupOpen})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonOpenClick(); });
    for (QAction *a : {MenuClose, PopupClose})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonCloseClick(); });
    for (QAction *a : {MenuExit, exit})
        connect(a, &QAction::triggered, this, [this] { close(); });
    for (QAction *a : {set2, popupApplication})
        connect(a, &QAction::triggered, this, [this] { Set2Click(); });
    connect(MenuSpeeds, &QAction::triggered, this, [this] { MenuSpeedsClick(); });
    connect(hideToTray, &QAction::triggered, this, [this] { ExecutePanelFunction(501, ""); });
    connect(minimise, &QAction::triggered, this, [this] { ExecutePanelFunction(502, ""); });
    connect(labelFont, &QAction::triggered, this, [this] { Nastavenpsma1Click(); });
    SetShortCut(popupSkin, 'S' | kAltBit);
    SetShortCut(popupDesktop, 'D' | kAltBit);
    SetShortCut(saveDesktop, 'D' | kCtrlBit);
    SetShortCut(MenuHist, 'H' | kCtrlBit);
    SetShortCut(MenuDbf, 'B' | kCtrlBit);
    SetShortCut(MenuAuto, 'A' | kCtrlBit);
    connect(popupSkin, &QAction::triggered, this, [this] { PopupSkinClick(); });
    connect(popupDesktop, &QAction::triggered, this, [this] { PopupDesktopClick(); });
    connect(saveDesktop, &QAction::triggered, this, [this] { SaveDesktop1Click(); });

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(mapToGlobal(at)); });
}

void TFMain::UpdateControls()
{
    auto visible = [](const QWidget *w) { return w && w->isVisible(); };
    SpeedButtonXML->setChecked(visible(FXML));
    const std::pair<TSpeedButton *, QWidget *> sessionButtons[] = {
        {SpeedButtonHist, FHist}, {SpeedButtonAcc, FAcc},   {SpeedButtonLog, FLog},
        {SpeedButtonFront, FFront}, {SpeedButtonHold, FHold}, {SpeedButtonPark, FPark}};
    for (auto [b, w] : sessionButtons) {
        b->setEnabled(Connected);
        b->setChecked(visible(w));
    }
    // However a window is shown or hidden (its title bar, a key), the ticks follow.
    for (QWidget *w : std::initializer_list<QWidget *>{FXML, FDbf, FAuto, FPorter, FHist, FAcc, FLog, FFront, FHold,
                                                       FPark, FPer})
        if (w)
            w->installEventFilter(this);
    SpeedButtonPorter->setChecked(visible(FPorter));
    SpeedButtonDbf->setEnabled(FDbf && FDbf->TablesOpen());
    SpeedButtonDbf->setChecked(visible(FDbf));
    SpeedButtonPersonal->setEnabled(Connected && LineOpen);
    SpeedButtonPersonal->setChecked(visible(FPer));
    SetHintOf(SpeedButtonPersonal, ToggleLine(!LineOpen, HintOf(SpeedButtonPersonal), Nls->GetText(250)));
    SpeedButtonOpen->setEnabled(!Connected);
    SpeedButtonClose->setEnabled(Connected);
    MenuSpeeds->setChecked(ToolBar1->isVisible());
    MenuAuto->setEnabled(FAuto && FAuto->TableOpen());
    MenuAuto->setChecked(visible(FAuto));
    for (const TSharedItem &item : kSharedItems) {
        QAction *menu = this->*item.Menu, *popup = this->*item.Popup;
        if (item.Button) {
            menu->setEnabled((this->*item.Button)->isEnabled());
            menu->setChecked((this->*item.Button)->isChecked());
        }
        popup->setEnabled(menu->isEnabled());
        popup->setChecked(menu->isChecked());
    }
}

void TFMain::ToggleWindow(QWidget *w)
{
    if (w)
        w->setVisible(!w->isVisible());
    UpdateControls();
}
