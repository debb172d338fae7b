#include "Help.h"
#include "Paths.h"
#include "TempDir.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

QSet<QString> Captures(const char *pattern, const QString &text)
{
    QSet<QString> found;
    for (const auto &m : QRegularExpression(QString::fromLatin1(pattern)).globalMatch(text))
        found.insert(m.captured(1));
    return found;
}

TEST(HelpPages, AreUtf8AndEveryContentsLinkLeadsToItsSection)
{
    for (const char *code : {"cz", "eng"}) {
        SCOPED_TRACE(code);
        const std::string path = ProgramDir() + "Talvd" + code + ".html";
        const QByteArray bytes = QByteArray::fromStdString(ReadBytes(path));
        EXPECT_TRUE(bytes.contains("<meta charset=\"utf-8\">"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8.decode(bytes);
        EXPECT_FALSE(utf8.hasError());
        const QSet<QString> targets = Captures("href=\"#(\\w+)\"", html);
        EXPECT_GE(targets.size(), 7);
        EXPECT_TRUE(Captures("name=\"(\\w+)\"", html).contains(targets));
        ShowHelp(path, THelpCommand::Contents, nullptr);
        EXPECT_TRUE(HelpWindow()->Browser->toPlainText().contains(QStringLiteral("F10")));
    }
}

TEST(HelpWindow, ContentsSearchAndHelpOnHelpShareOneWindow)
{
    TempDir dir;
    const std::string page = dir.File("Talvdeng.html");
    std::string body = "<p><a href=\"#end\">to the end</a></p>";
    for (int i = 0; i < 200; ++i)
        body += "<p>line " + std::to_string(i) + "</p>";
    WriteBytes(page, "<html><head><meta charset=\"utf-8\"></head><body>" + body +
                         "<p><a name=\"end\"></a>Zvednuté sluchátko</p><p>sluchátko again</p></body></html>");

    ShowHelp(page, THelpCommand::Contents, nullptr);
    THelpWindow *w = HelpWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_FALSE(w->FindBar->isVisible());
    emit w->Browser->anchorClicked(QUrl(QStringLiteral("#end")));
    EXPECT_GT(w->Browser->verticalScrollBar()->value(), 0) << "an anchor in the page scrolls to it";
    ShowHelp(page, THelpCommand::Contents, nullptr);
    EXPECT_EQ(w->Browser->verticalScrollBar()->value(), 0) << "contents start from the top";

    ShowHelp(page, THelpCommand::Search, nullptr);
    EXPECT_EQ(HelpWindow(), w);
    EXPECT_TRUE(w->FindBar->isVisible());
    const QString word = QStringLiteral("SLUCH\u00C1TKO");
    auto at = [w] { return w->Browser->textCursor().position(); };
    ASSERT_TRUE(w->Find(word, false)) << "case does not matter, accents included";
    const int first = at();
    EXPECT_EQ(w->Browser->textCursor().selectedText(), QStringLiteral("sluch\u00E1tko"));
    EXPECT_TRUE(w->Find(word, false) && at() > first);
    EXPECT_TRUE(w->Find(word, false) && at() == first) << "goes round the page";
    EXPECT_TRUE(w->Find(word, true) && at() > first) << "backwards goes round too";
    const int before = at();
    EXPECT_FALSE(w->Find(QStringLiteral("absent"), false) || w->Find(QString(), false));
    EXPECT_EQ(at(), before);
    EXPECT_FALSE(w->FindState->text().isEmpty());

    ShowHelp(page, THelpCommand::HelpOnHelp, nullptr);
    EXPECT_FALSE(w->Browser->toPlainText().contains(QStringLiteral("line 7")));
    ShowHelp(page, THelpCommand::Search, nullptr);
    EXPECT_TRUE(w->Browser->toPlainText().contains(QStringLiteral("line 7"))) << "search brings the page back";
}

TEST(HelpWindow, MissingFileIsSaidInTheWindow)
{
    const std::string path = "/nonexistent/Sta\u017een\u00e9/Talvdxx.html"; // as the file system names it
    for (THelpCommand cmd : {THelpCommand::Contents, THelpCommand::Search}) {
        ShowHelp(path, cmd, nullptr);
        EXPECT_TRUE(HelpWindow()->Browser->toPlainText().contains(QString::fromStdString(path)));
        EXPECT_FALSE(HelpWindow()->Find(QStringLiteral("zzz"), false));
    }
}

} // namespace
