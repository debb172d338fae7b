// Window handling of the panel: tray, dragging, tool bar, and the dialogs
// its menus open.
#include "About.h"
#include "Cp1250.h"
#include "Desktop.h"
#include "Fce.h"
#include "FileDialogs.h"
#include "Help.h"
#include "Main.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "QtBridge.h"
#include "Set.h"
#include "Skin.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <utility>

namespace {

// Runs a file dialog for a desktop file and hands over the chosen name
// without its folder, as the file system names it; the working folder stays
// as it was.
void RunDesktopDialog(QWidget *parent, QFileDialog::AcceptMode mode, const std::function<void(const std::string &)> &use)
{
    QString cwd = QDir::currentPath();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    Desktop->PrepareFileDialog(&dialog);
    if (ExecFileDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        use(PathOfQ(QFileInfo(dialog.selectedFiles().first()).fileName()));
    QDir::setCurrent(cwd);
}

QString WhyNotSaved(TDesktop::TSaved saved, const std::string &fileName)
{
    QString why = ToQ(Nls->GetText(9250)) + "\n";
    if (saved == TDesktop::TSaved::NameNotKept)
        return why + ToQ(Nls->GetText(9251)) + " " + cp1250::Unkept(QPath(fileName)).join(QString());
    if (saved == TDesktop::TSaved::NameTooLong)
        return why + ToQ(Nls->GetText(9252));
    return why + ToQ(Nls->GetText(9253)) + "\n" + ToQ(NameFromFs(Desktop->Folder() + fileName));
}

} // namespace

void TFMain::PopupDesktopClick()
{
    RunDesktopDialog(this, QFileDialog::AcceptOpen, [](const std::string &name) { Desktop->SwitchDesktop(name); });
}

void TFMain::SaveDesktop1Click()
{
    RunDesktopDialog(this, QFileDialog::AcceptSave, [this](const std::string &name) {
        const TDesktop::TSaved saved = Desktop->SaveDesktopAs(name);
        if (saved != TDesktop::TSaved::Saved)
            MessageBox(WhyNotSaved(saved, name), 101, QMessageBox::Warning);
    });
}

// Without a notification area (a bare X server) the panel minimises, so it
// can never vanish beyond reach.
void TFMain::HideToTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    if (!TrayIcon1) {
        TrayIcon1 = new QSystemTrayIcon(QIcon(ImageList1[0]), this);
        TrayIcon1->setToolTip(QApplication::applicationName());
        connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this] { TrayIcon1Restore(); });
    }
    TrayIcon1->show();
    hide();
}

namespace {

// The program's own windows on the screen: the panel and every open form, not its menus or tips.
QList<QWidget *> ShownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const Qt::WindowType kind = w->windowType();
        if (w->isVisible() && (kind == Qt::Window || kind == Qt::Dialog))
            shown.append(w);
    }
    return shown;
}

} // namespace

void TFMain::MinimizeApplication()
{
    minimisedWithPanel_.clear();
    for (QWidget *w : ShownWindows())
        if (w != this && !w->isMinimized()) {
            minimisedWithPanel_.emplace_back(w);
            w->showMinimized();
        }
    showMinimized();
}

void TFMain::RestoreApplication()
{
    showNormal();
    raise();
    activateWindow();
}

// However the panel comes back (its task-bar entry, the line, the tray),
// the windows that went down with it come back too.
void TFMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized)) {
        for (const QPointer<QWidget> &w : std::exchange(minimisedWithPanel_, {}))
            if (w && w->isVisible() && w->isMinimized())
                w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        raise();
    }
    TForm::changeEvent(event);
}

void TFMain::TrayIcon1Restore()
{
    if (TrayIcon1 && TrayIcon1->isVisible())
        TrayIcon1->hide();
    showNormal();
    raise();
    activateWindow();
}

bool TFMain::eventFilter(QObject *watched, QEvent *event)
{
    // Shown, hidden, or a state the buttons follow changed (a dynamic property).
    const bool shown = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if ((shown || event->type() == QEvent::DynamicPropertyChange) && watched != this && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        QMetaObject::invokeMethod(this, [this] { UpdateControls(); }, Qt::QueuedConnection);
    if (watched == Image0) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragOrigin_ = static_cast<QMouseEvent *>(event)->position().toPoint();
        } else if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() & Qt::LeftButton)
                move(pos() + mouse->position().toPoint() - dragOrigin_);
        }
    }
    return TForm::eventFilter(watched, event);
}

void TFMain::MenuSpeedsClick()
{
    const int face = height() - BarHeight();
    ToolBar1->setHidden(!ToolBar1->isHidden());
    PlaceToolBar(face);
    UpdateControls();
}

int TFMain::BarHeight() const { return ToolBar1->isHidden() ? 0 : ToolBar1->height(); }

// The tool bar sits below the skin's face; the panel grows by its height and
// the window's shape takes it in.
void TFMain::PlaceToolBar(int faceHeight)
{
    const int bar = ToolBar1->isHidden() ? 0 : ToolBar1->sizeHint().height();
    if (bar)
        ToolBar1->setGeometry(0, faceHeight, width(), bar);
    resize(width(), faceHeight + bar);
    if (Skin && !Skin->Region.isEmpty())
        setMask(bar ? Skin->Region.united(ToolBar1->geometry()) : Skin->Region);
}

void TFMain::SkinShown()
{
    PlaceToolBar(height());
    ShowLineStateAgain();
}

void TFMain::PopupSkinClick()
{
    QString cwd = QDir::currentPath();
    QFileDialog dialog(this);
    Skin->ChooseSkinFile(&dialog);
    if (ExecFileDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = QFileInfo(dialog.selectedFiles().first()).fileName();
        // A skin is remembered by a code page 1250 name: one it cannot hold
        // would name another file.
        if (const QString lost = cp1250::Unkept(chosen).join(QString()); !lost.isEmpty())
            MessageBox(ToQ(Nls->GetText(510)) + " " + chosen + "\n" + ToQ(Nls->GetText(9251)) + " " + lost, 101,
                       QMessageBox::Warning);
        else
            Skin->SelectSkin(FromQ(chosen));
    }
    QDir::setCurrent(cwd);
}

void TFMain::Nastavenpsma1Click()
{
    auto *label = qobject_cast<TLabel *>(Skin ? Skin->PopupComponent() : nullptr);
    if (!label)
        return;
    const std::string name = FromQ(label->objectName());
    const TFont font = Skin->LabelFont(name);
    QFontDialog dialog(ToDialogFont(font), this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    const QFont offered = dialog.currentFont();
    if (dialog.exec() == QDialog::Accepted)
        Skin->SetLabelFont(name, FromDialogFont(font, offered, dialog.selectedFont()));
}

void TFMain::AddHelpItems(QMenu *menu)
{
    connect(AddItem(menu, 141, "Contents"), &QAction::triggered, this, [this] { Content1Click(); });
    connect(AddItem(menu, 142, "Search..."), &QAction::triggered, this, [this] { Vyhledn1Click(); });
    connect(AddItem(menu, 143, "Using help"), &QAction::triggered, this, [this] { Pouitnpovdy1Click(); });
    menu->addSeparator();
    connect(AddItem(menu, 144, "About..."), &QAction::triggered, this, [this] { About1Click(); });
}

void TFMain::About1Click()
{
    if (!FAbout)
        return;
    CenterForm(this, FAbout);
    FAbout->exec();
}

void TFMain::Content1Click() { ShowHelp(HelpFile, THelpCommand::Contents, this); }
void TFMain::Vyhledn1Click() { ShowHelp(HelpFile, THelpCommand::Search, this); }
void TFMain::Pouitnpovdy1Click() { ShowHelp(HelpFile, THelpCommand::HelpOnHelp, this); }

void TFMain::Set2Click()
{
    // Besides the panel's settings the dialog shows or hides the door-entry button.
    bool porter = !SpeedButtonPorter->isHidden();
    TFSet dialog(this, Skin, &Settings, &porter);
    CenterForm(this, &dialog);
    dialog.exec();
    SpeedButtonPorter->setVisible(porter);
}
