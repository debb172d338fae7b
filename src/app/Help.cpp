#include "Help.h"
#include "Cp1250.h"
#include "Fce.h"
#include "Nlsfunc.h"
#include "Paths.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<THelpWindow> TheWindow;

// The built-in wording stands in when the language file lacks the text.
QString Text(int id, const char *builtIn)
{
    std::string s = Nls ? Nls->GetText(id) : std::string();
    return s.empty() ? QString::fromLatin1(builtIn) : ToQ(s);
}

// A text whose first line is a heading and whose other lines are paragraphs.
QString AsHtml(const QString &text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
    QString html;
    for (int i = 0; i < lines.size(); ++i)
        html += (i == 0 ? QStringLiteral("<h2>%1</h2>") : QStringLiteral("<p>%1</p>")).arg(lines[i].toHtmlEscaped());
    return html;
}

} // namespace

THelpWindow::THelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    contents_ = new QPushButton(this);
    search_ = new QPushButton(this);
    helpOnHelp_ = new QPushButton(this);
    auto *commands = new QHBoxLayout;
    for (QPushButton *b : {contents_, search_, helpOnHelp_})
        commands->addWidget(b);
    commands->addStretch();

    FindBar = new QWidget(this);
    findLabel_ = new QLabel(FindBar);
    FindEdit = new QLineEdit(FindBar);
    next_ = new QPushButton(FindBar);
    previous_ = new QPushButton(FindBar);
    FindState = new QLabel(FindBar);
    auto *find = new QHBoxLayout(FindBar);
    find->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : std::initializer_list<QWidget *>{findLabel_, FindEdit, next_, previous_, FindState})
        find->addWidget(w);
    FindBar->hide();

    Browser = new QTextBrowser(this);
    // Links are followed by hand: only anchors within the page lead anywhere.
    Browser->setOpenLinks(false);
    // The pages carry their words only; their look is the window's.
    Browser->document()->setDefaultStyleSheet(QStringLiteral(
        "body { font-family: sans-serif; } h1, h2 { color: #1c4a6e; } h2 { margin-top: 18px; }"
        "td, th { padding: 2px 8px; vertical-align: top; } th { background: #dde8f0; text-align: left; }"
        ".key { font-weight: bold; white-space: nowrap; }"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addWidget(FindBar);
    layout->addWidget(Browser);
    resize(680, 600);

    connect(contents_, &QPushButton::clicked, this, [this] { Run(file_, THelpCommand::Contents); });
    connect(search_, &QPushButton::clicked, this, [this] { Run(file_, THelpCommand::Search); });
    connect(helpOnHelp_, &QPushButton::clicked, this, [this] { Run(file_, THelpCommand::HelpOnHelp); });
    connect(FindEdit, &QLineEdit::returnPressed, this, [this] { Find(FindEdit->text(), false); });
    connect(next_, &QPushButton::clicked, this, [this] { Find(FindEdit->text(), false); });
    connect(previous_, &QPushButton::clicked, this, [this] { Find(FindEdit->text(), true); });
    connect(Browser, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);
}

void THelpWindow::Translate()
{
    setWindowTitle(Text(3400, "Help"));
    contents_->setText(Text(3401, "Contents"));
    search_->setText(Text(3402, "Search"));
    helpOnHelp_->setText(Text(3403, "Help on help"));
    findLabel_->setText(Text(3404, "Find:"));
    next_->setText(Text(3405, "Next"));
    previous_->setText(Text(3406, "Previous"));
}

void THelpWindow::Run(const std::string &helpFile, THelpCommand cmd)
{
    Translate();
    if (helpFile != file_)
        pageShown_ = false;
    file_ = helpFile;
    if (cmd == THelpCommand::HelpOnHelp) {
        ShowHelpOnHelp();
    } else {
        if (cmd == THelpCommand::Contents || !pageShown_)
            ShowContents();
        FindBar->setVisible(cmd == THelpCommand::Search || FindBar->isVisible());
        if (cmd == THelpCommand::Search) {
            FindEdit->setFocus();
            FindEdit->selectAll();
        }
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::ChangeLanguage(const std::string &helpFile)
{
    if (isVisible()) {
        Run(helpFile, THelpCommand::Contents);
        return;
    }
    Translate();
    file_ = helpFile;
    pageShown_ = false;
}

void THelpWindow::ShowContents()
{
    FindState->clear();
    QFile file(QPath(file_));
    if (file_.empty() || !file.open(QIODevice::ReadOnly)) {
        Browser->setHtml(QStringLiteral("<h2>%1</h2><p>%2</p><p><i>%3</i></p>")
                             .arg(Text(3400, "Help"), Text(3408, "The help file was not found:"),
                                  QPath(file_).toHtmlEscaped()));
        pageShown_ = false;
        return;
    }
    // Bounded: a help page is a few kilobytes; anything past this is not one.
    QByteArray bytes = file.read(4 << 20);
    QStringDecoder decode = QStringDecoder::decoderForHtml(bytes);
    Browser->setHtml(decode.isValid() ? decode.decode(bytes) : QString::fromUtf8(bytes));
    Browser->verticalScrollBar()->setValue(0);
    pageShown_ = true;
}

void THelpWindow::ShowHelpOnHelp()
{
    Browser->setHtml(AsHtml(Text(3409, "Using help\n"
                                       "Contents shows the help page from the top; its first lines link to each "
                                       "section.\n"
                                       "Search opens the find bar: type a word and press Enter or Next for the next "
                                       "place, Previous for the one before. Capitals do not matter; the search goes "
                                       "round the page.\n"
                                       "Help on help shows this text. Contents takes you back to the page.")));
    pageShown_ = false;
    FindBar->hide();
}

void THelpWindow::FollowLink(const QUrl &url)
{
    if (url.hasFragment() && url.path().isEmpty())
        Browser->scrollToAnchor(url.fragment());
}

bool THelpWindow::Find(const QString &text, bool backward)
{
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = Browser->find(text, flags);
    if (!found) {
        const QTextCursor was = Browser->textCursor();
        QTextCursor from(Browser->document());
        from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        Browser->setTextCursor(from);
        found = Browser->find(text, flags);
        if (!found)
            Browser->setTextCursor(was);
    }
    FindState->setText(found ? QString() : Text(3407, "Not found"));
    return found;
}

void ShowHelp(const std::string &helpFile, THelpCommand cmd, QWidget *parent)
{
    if (!TheWindow) {
        TheWindow = new THelpWindow(parent);
        // The whole window on the screen of its caller, centred over it.
        if (QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
            TheWindow->resize(TheWindow->size().boundedTo(screen->availableGeometry().size() - QSize(16, 48)));
        if (parent)
            CenterForm(parent, TheWindow);
        else
            KeepOnScreen(TheWindow);
    }
    TheWindow->Run(helpFile, cmd);
}

THelpWindow *HelpWindow() { return TheWindow; }
