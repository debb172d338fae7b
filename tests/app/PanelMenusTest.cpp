// The panel's menus: the skin image menu, the tool bar and hiding away.
#include "Auto.h"
#include "Desktop.h"
#include "Fce.h"
#include "Help.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "PanelRig.h"
#include "QtBridge.h"
#include "Paths.h"
#include "Porter.h"
#include "SessionWindows.h"
#include "Skin.h"
#include "Timer.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTextBrowser>
#include <QScreen>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

// A font in failure messages.
void PrintTo(const TFont &f, std::ostream *os)
{
    *os << f.Name << " " << f.Height() << "px style " << f.Style << " colour " << f.Color << " set " << f.CharSet
        << " pitch " << f.Pitch;
}

namespace {

QAction *ItemTagged(QMenu *menu, int tag)
{
    for (QAction *item : menu->actions())
        if (TagOf(item) == tag)
            return item;
    return nullptr;
}

// A skin larger than any screen.
const char *const kHugeSkin = "[Set]\r\nWidth=100000\r\nHeight=100000\r\nBackground=RizUzezi.png\r\n";

void OpenImageMenu(TFMain &panel, TImage *image)
{
    emit image->customContextMenuRequested(QPoint(1, 1));
    panel.PopupMenuImg()->hide();
}

TEST(PanelMenus, ImageMenuShowsTheImagesFunctionAndNumber)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    auto *d1 = panel.findChild<TImage *>(QStringLiteral("ImageD1"));
    auto *d2 = panel.findChild<TImage *>(QStringLiteral("ImageD2"));
    ASSERT_TRUE(d1 && d2);
    Skin->SetImageDial(d1, 150, "123", "Recepce");
    const std::string bare = TextBeforeQuote(FromQ(panel.PopupImgDial->text()));
    OpenImageMenu(panel, d1);
    EXPECT_EQ(FromQ(panel.PopupImgDial->text()), bare + " \"123\"");

    Skin->AssignImageFunction(d2, 607);
    OpenImageMenu(panel, d2);
    EXPECT_EQ(FromQ(panel.PopupImgDial->text()), bare);
    EXPECT_TRUE(ItemTagged(panel.PopupDSS, 2607)->isChecked());
    EXPECT_TRUE(panel.PopupDSS->menuAction()->isChecked());
    EXPECT_FALSE(panel.PopupNum->menuAction()->isChecked());
    int ticked = 0;
    for (QAction *item : panel.PopupFunctions->actions())
        ticked += item->isChecked() ? 1 : 0;
    EXPECT_EQ(ticked, 1) << "only the DSS sub-menu";

    ItemTagged(panel.PopupNum, 2005)->trigger();
    EXPECT_EQ(d2->Tag, 5);
}

TEST(PanelMenus, TicksShowExactlyTheVisibleWindowsHoweverTheyCameOrWent)
{
    PanelRig rig;
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    TFMain &panel = *rig.main;
    auto comesTrue = [](const std::function<bool()> &done) { return FakeExchange::WaitUntil(done, 2000); };
    const std::pair<QWidget *, QAction *> windows[] = {
        {rig.xml.get(), panel.PopupXML}, {FHist, panel.PopupHist}, {FPer, panel.PopupPersonal}, {FPorter, panel.PopupPorter}};
    for (auto [window, item] : windows) {
        const std::string name = FromQ(item->text());
        window->show();
        EXPECT_TRUE(comesTrue([&] { return item->isChecked(); })) << name;
        item->trigger();
        EXPECT_TRUE(comesTrue([&] { return !window->isVisible() && !item->isChecked(); })) << name;
        item->trigger();
        EXPECT_TRUE(comesTrue([&] { return window->isVisible(); })) << name;
        window->close(); // the title bar's close
        EXPECT_TRUE(comesTrue([&] { return !item->isChecked(); })) << name;
    }
    FHist->show();
    EXPECT_TRUE(comesTrue([&] { return panel.SpeedButtonHist->isChecked(); }));
    EXPECT_TRUE(panel.MenuHist->isChecked());
}

// Answers the next file dialog with the typed name and notes each message box's text.
std::function<void(QWidget *)> TypeNameAndNoteBoxes(const QString &typed, QStringList &boxes)
{
    return [&typed, &boxes](QWidget *w) {
        if (auto *dialog = qobject_cast<QFileDialog *>(w)) {
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
            boxes << box->text();
            box->done(QMessageBox::Ok);
        }
    };
}

void Collect(const QList<QAction *> &items, std::set<QAction *> &out)
{
    for (QAction *item : items) {
        out.insert(item);
        if (item->menu())
            Collect(item->menu()->actions(), out);
    }
}

TEST(PanelMenus, EveryMainMenuItemIsReachedFromThePopUpMenuAndItFromTheKeyboard)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    std::set<QAction *> main, popup;
    Collect(panel.MainMenu->actions(), main);
    Collect(panel.PopupMenu1->actions(), popup);
    for (QAction *item : main)
        EXPECT_TRUE(popup.count(item)) << FromQ(item->text());
    EXPECT_TRUE(popup.count(panel.MenuSpeeds));

    panel.activateWindow();
    QTest::keyClick(&panel, Qt::Key_Menu);
    EXPECT_TRUE(panel.PopupMenu1->isVisible());
    panel.PopupMenu1->hide();
    QTest::keyClick(&panel, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(panel.PopupMenu1->isVisible());
    panel.PopupMenu1->hide();
}

TEST(PanelMenus, ToolBarGrowsThePanelAndHidingWithoutATrayMinimises)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    const int height = panel.height();
    panel.MenuSpeedsClick();
    EXPECT_TRUE(panel.MenuSpeeds->isChecked());
    EXPECT_EQ(panel.height(), height + panel.ToolBar1->height());
    panel.MenuSpeedsClick();
    EXPECT_EQ(panel.height(), height);

    panel.ExecutePanelFunction(501, "");
    EXPECT_TRUE(panel.isMinimized()) << "no notification area offscreen: the panel stays reachable";
}

TEST(PanelDesktops, ANameWithAccentsIsSavedListedAndLoadedByItsName)
{
    PanelRig rig;
    rig.Start();
    const QString name = QString::fromUtf8("Pr\u00e1ce.dst");
    bool listed = false;
    rig.OnModal = [&](QWidget *w) {
        if (auto *dialog = qobject_cast<QFileDialog *>(w)) {
            listed = QDir(dialog->directory()).entryList({"*.dst"}).contains(name);
            // As typed: selectFile leaves alone a name field that has the focus.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    };
    rig.main->SaveDesktop1Click();
    EXPECT_EQ(Desktop->Current(), "Pr\xE1" "ce.dst");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(rig.home.Path()) + "Talvocti/Desktops/" + name));

    rig.main->PopupDesktopClick();
    EXPECT_TRUE(listed);
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return !Desktop->Timer().Active(); }, 3000));
    EXPECT_EQ(Desktop->Current(), "Pr\xE1" "ce.dst");
}

TEST(PanelDesktops, ANameThatCannotBeSavedIsToldAndTheCurrentDesktopStays)
{
    PanelRig rig;
    rig.Start();
    QString typed;
    QStringList boxes;
    rig.OnModal = TypeNameAndNoteBoxes(typed, boxes);
    // Typed name, the reason given (none: saved), and what the message shows of the name.
    const QString longest = QString(250, 'n') + ".dst";
    const std::tuple<QString, int, QString> cases[] = {
        {QString::fromUtf8("Новый š"), 9251, QString::fromUtf8("Новый")},
        // Within the dialog's count of characters, beyond the file system's bytes.
        {QString(200, QChar(0x10D)), 9252, QString()},
        {longest, 0, QString()},
    };
    for (const auto &[name, why, shown] : cases) {
        typed = name;
        boxes.clear();
        rig.main->SaveDesktop1Click();
        if (!why) {
            EXPECT_EQ(boxes, QStringList());
            EXPECT_EQ(Desktop->Current(), FromQ(longest));
            continue;
        }
        ASSERT_EQ(boxes.size(), 1) << why;
        EXPECT_TRUE(boxes[0].startsWith(ToQ(Nls->GetText(9250)))) << boxes[0].toStdString();
        EXPECT_TRUE(boxes[0].contains((ToQ(Nls->GetText(why)) + " " + shown).trimmed())) << boxes[0].toStdString();
        EXPECT_EQ(Desktop->Current(), "Default.dst");
    }
    QStringList written = QDir(QPath(Desktop->Folder())).entryList(QDir::Files);
    written.removeAll(QStringLiteral("Default.dst"));
    EXPECT_EQ(written, QStringList{longest});
}

TEST(PanelSkins, ASkinFileNamedOutsideTheCodePageIsRefusedNamingItsCharacters)
{
    PanelRig rig;
    rig.Start();
    const QString name = QString::fromUtf8("Рабочий.skn");
    const QString folder = QString::fromStdString(rig.home.Path()) + "Talvocti/Skins/";
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(QPath(Skin->ReadSkinFile()), folder + name));
    const std::string shown = Skin->SkinName;
    QStringList boxes;
    rig.OnModal = TypeNameAndNoteBoxes(name, boxes);
    rig.main->PopupSkinClick();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(ToQ(Nls->GetText(9251)) + " " + QString::fromUtf8("Рабочий"))) << boxes[0].toStdString();
    EXPECT_FALSE(Skin->Timer->Active());
    EXPECT_EQ(Skin->SkinName, shown);
}

TEST(PanelDialogs, DialogsAreCentredOverThePanelAndTheHelpWindowIsOnTheScreen)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    panel.move(100, 80);
    const QRect screen = panel.screen()->availableGeometry();
    QRect shown;
    rig.OnModal = [&](QWidget *w) {
        if (auto *dialog = qobject_cast<QDialog *>(w)) {
            shown = dialog->frameGeometry();
            dialog->reject();
        }
    };
    const std::pair<const char *, std::function<void()>> openers[] = {
        {"settings", [&] { panel.Set2Click(); }},
        {"about", [&] { panel.About1Click(); }},
        {"label", [&] { OpenImageMenu(panel, panel.findChild<TImage *>("ImageD1")), panel.PopupImgLabClick(); }},
        {"dial", [&] { OpenImageMenu(panel, panel.findChild<TImage *>("ImageD1")), panel.PopupImgDialClick(); }},
    };
    for (const auto &[name, open] : openers) {
        shown = QRect();
        open();
        ASSERT_TRUE(shown.isValid()) << name;
        EXPECT_LE((shown.center() - panel.frameGeometry().center()).manhattanLength(), 4) << name;
        EXPECT_TRUE(screen.contains(shown)) << name;
    }
    panel.move(screen.right() - 100, screen.bottom() - 50);
    panel.Content1Click();
    ASSERT_NE(HelpWindow(), nullptr);
    EXPECT_TRUE(screen.contains(HelpWindow()->frameGeometry()));
}

TEST(PanelLanguage, QtsOwnTextsFileFiltersAndTheHelpWindowFollowTheLanguage)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_cs.qm")) {
        EXPECT_NE(cancel(), "Cancel") << "Czech is the default language";
    }
    QFileDialog dialog;
    Skin->ChooseSkinFile(&dialog);
    for (const QString &filter : dialog.nameFilters())
        EXPECT_EQ(filter.count("(*.skn)"), 1) << FromQ(filter);

    panel.Content1Click();
    EXPECT_EQ(HelpWindow()->Browser->documentTitle(), QString::fromUtf8("Talvodem \u2013 N\u00e1pov\u011bda"));
    panel.ApplyLanguage("eng", false);
    EXPECT_EQ(cancel(), "Cancel");
    EXPECT_EQ(FromQ(HelpWindow()->windowTitle()), Nls->GetText(3400));
    EXPECT_EQ(HelpWindow()->Browser->documentTitle(), QString::fromUtf8("Talvodem \u2013 Help"));
    panel.ApplyLanguage("xx", false); // no catalogue: Qt's own English, no fault
    EXPECT_EQ(cancel(), "Cancel");
}

// Every value of a language file, whatever its section.
std::set<std::string> TextsOfLanguage(const std::string &code)
{
    TIniFile file(TNlsFunc::LanguageFilePath(code));
    std::set<std::string> texts;
    for (const std::string &section : file.ReadSections())
        for (const auto &[key, value] : file.ReadSectionValues(section))
            texts.insert(value);
    return texts;
}

// A window's captions and hints that hold a word: its buttons' captions and
// hints, its tool bars' items. Glyphs and digits hold none.
std::vector<std::string> WordsOf(QWidget *window)
{
    std::vector<std::string> all;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
        all.insert(all.end(), {FromQ(b->text()), FromQ(b->toolTip())});
    for (QToolBar *bar : window->findChildren<QToolBar *>())
        for (QAction *item : bar->actions())
            all.insert(all.end(), {FromQ(item->text()), FromQ(item->toolTip())});
    std::vector<std::string> words;
    for (const std::string &text : all)
        if (std::any_of(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
            words.push_back(text);
    return words;
}

TEST(PanelLanguage, TheLineStateAndEveryCaptionAndHintOfTheWindowsFollowTheLanguage)
{
    PanelRig rig;
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    const std::string state = "<ans Type=\"STATE\" Handle=\"5\" State=\"REL\" Hfree=\"0\" Mic=\"0\"/>";
    rig.Answer(state);
    EXPECT_EQ(rig.LabelText("LabelSTAT"), "Volno");
    const std::tuple<TForm *, std::string, std::string> captions[] = {
        {FFront, "\xC8" "ekaj\xED" "c\xED hovory", "Waiting calls"},
        {FHold, "Dr\x9E" "en\xE9 hovory", "Held calls"},
        {FPark, "Parkovan\xE9 hovory", "Parked calls"}};
    const std::vector<std::pair<const char *, QWidget *>> windows = {
        {"waiting", FFront}, {"held", FHold}, {"parked", FPark}, {"history", FHist},
        {"accounting", FAcc}, {"log", FLog},  {"door", FPorter}, {"dialler", FAuto}};
    for (const char *code : {"cz", "eng"}) {
        const bool czech = std::string(code) == "cz";
        if (!czech)
            rig.main->ApplyLanguage(code, false);
        for (const auto &[window, cz, english] : captions)
            EXPECT_EQ(window->Caption(), czech ? cz : english);
        const std::set<std::string> texts = TextsOfLanguage(code);
        for (const auto &[name, window] : windows) {
            ASSERT_NE(window, nullptr) << name;
            EXPECT_TRUE(texts.count(FromQ(window->windowTitle()))) << code << " " << name << " has no caption";
            for (const std::string &word : WordsOf(window))
                EXPECT_TRUE(texts.count(word)) << code << " " << name << ": " << word;
        }
        for (const std::string &word : WordsOf(rig.main->ToolBar1))
            EXPECT_TRUE(texts.count(word)) << code << " panel tool bar: " << word;
    }
    EXPECT_EQ(rig.LabelText("LabelSTAT"), "Idle");
    rig.Answer(state);
    EXPECT_EQ(rig.LabelText("LabelSTAT"), "Idle");
}

TEST(PanelSkins, AtStartThePanelShowsFirstAndARefusedSkinIsNamedOnceEveryWindowIsBuilt)
{
    PanelRig rig;
    const std::string data = rig.home.Path() + "Talvocti/";
    QDir().mkpath(QString::fromStdString(data + "Desktops"));
    QDir().mkpath(QString::fromStdString(data + "Skins"));
    WriteBytes(data + "Desktops/Default.dst", "[Set]\r\nSkinName=Huge.skn\r\n");
    WriteBytes(data + "Skins/Huge.skn", kHugeSkin);
    bool formsBuilt = false;
    rig.OnModal = [&, standard = rig.OnModal](QWidget *w) {
        if (qobject_cast<QMessageBox *>(w))
            formsBuilt = rig.dbf && rig.porter && rig.about && rig.dialler;
        standard(w);
    };
    rig.Start();
    EXPECT_TRUE(rig.PanelShownFirst);
    ASSERT_EQ(rig.Boxes.size(), 1u);
    EXPECT_NE(rig.Boxes[0].find("Huge.skn"), std::string::npos) << rig.Boxes[0];
    ASSERT_FALSE(Nls->GetText(510).empty());
    EXPECT_NE(rig.Boxes[0].find(Nls->GetText(510)), std::string::npos) << rig.Boxes[0];
    EXPECT_TRUE(formsBuilt);
    EXPECT_EQ(Skin->SkinName, "RizUzezi.skn");
}

TEST(PanelSkins, TheToolBarIsNotPartOfTheSkin)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    const std::string own = rig.home.Path() + "Talvocti/Skins/", shipped = ProgramDir() + "Skins/";
    EXPECT_EQ(panel.size(), QSize(600, 400));
    panel.MenuSpeedsClick();
    const int bar = panel.ToolBar1->height();
    ASSERT_GT(bar, 0);
    // With the bar on, the next skin shows at its own size with the bar below.
    Skin->SelectSkin("Mini.skn");
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return Skin->SkinName == "Mini.skn"; }, 3000));
    EXPECT_EQ(panel.size(), QSize(280, 160 + bar));
    EXPECT_EQ(panel.ToolBar1->geometry(), QRect(0, 160, 280, bar));
    EXPECT_TRUE(panel.mask().contains(QPoint(140, 160 + bar / 2)));
    panel.MenuSpeedsClick();
    EXPECT_EQ(panel.size(), QSize(280, 160));
    rig.Stop();
    for (const char *name : {"RizUzezi.skn", "Mini.skn"})
        EXPECT_EQ(ReadBytes(own + name), ReadBytes(shipped + name)) << name;
}

TEST(PanelSkins, TheLabelFontDialogTakesOnlyWhatTheUserChanged)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    auto *label = panel.findChild<TLabel *>(QStringLiteral("LabelD1"));
    ASSERT_NE(label, nullptr);
    emit label->customContextMenuRequested(QPoint(1, 1));
    panel.PopupMenuLab()->hide();
    const TFont stored = Skin->LabelFont("LabelD1");
    ASSERT_EQ(stored.Name, "Tahoma");
    // The dialog is accepted after the change, if any, is made in it.
    auto openWith = [&](const std::function<void(QFont &)> &change) {
        rig.OnModal = [&, standard = rig.OnModal](QWidget *w) {
            if (auto *dialog = qobject_cast<QFontDialog *>(w)) {
                QFont font = dialog->currentFont();
                change(font);
                dialog->setCurrentFont(font);
                dialog->accept();
            } else {
                standard(w);
            }
        };
        panel.Nastavenpsma1Click();
        return Skin->LabelFont("LabelD1");
    };
    EXPECT_EQ(openWith([](QFont &) {}), stored);
    Skin->SaveSkin(false);
    EXPECT_EQ(ReadBytes(rig.home.Path() + "Talvocti/Skins/RizUzezi.skn"), ReadBytes(ProgramDir() + "Skins/RizUzezi.skn"));

    TFont bold = stored;
    bold.Style = fsBold;
    // Picking a style in the dialog's list sets its name.
    EXPECT_EQ(openWith([](QFont &f) { f.setStyleName(QStringLiteral("Bold")); }), bold);
    TFont bigger = bold;
    bigger.SetSize(12);
    EXPECT_EQ(openWith([](QFont &f) { f.setPointSize(12); }), bigger);
    TFont other = bigger;
    other.Name = "DejaVu Serif";
    EXPECT_EQ(openWith([](QFont &f) { f.setFamily(QStringLiteral("DejaVu Serif")); }), other);
}

TEST(PanelSkins, ARefusedSkinIsNamedAndThePanelKeepsItsFaceOnAScreen)
{
    PanelRig rig;
    rig.Start();
    TFMain &panel = *rig.main;
    const QSize size = panel.size();
    WriteBytes(rig.home.Path() + "Talvocti/Skins/Huge.skn", kHugeSkin);
    Skin->SelectSkin("Huge.skn");
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return !rig.Boxes.empty(); }, 3000));
    EXPECT_NE(rig.Boxes[0].find("Huge.skn"), std::string::npos) << rig.Boxes[0];
    EXPECT_EQ(panel.size(), size);
    EXPECT_EQ(Skin->SkinName, "RizUzezi.skn");
    EXPECT_NE(panel.findChild<TImage *>(QStringLiteral("ImageD1")), nullptr);

    panel.move(-540, -360);
    Skin->SelectSkin("RizUzezi.skn");
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return !Skin->Timer->Enabled(); }, 3000));
    EXPECT_GE(panel.frameGeometry().left(), 0);
    EXPECT_GE(panel.frameGeometry().top(), 0);
    EXPECT_EQ(rig.Boxes.size(), 1u);
}

} // namespace
