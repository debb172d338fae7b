#include "Help.h"
#include "Paths.h"
#include "TempDir.h"

#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QLineEdit>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(HelpPages, AreUtf8WithEveryContentsLinkLeadingToItsSection)
{
    for (const char *code : {"cz", "eng"}) {
        SCOPED_TRACE(code);
        const std::string path = ProgramDir() + "Talvd" + code + ".html";
        const QByteArray bytes = QByteArray::fromStdString(ReadBytes(path));
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_TRUE(bytes.contains("<meta charset=\"utf-8\">"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8.decode(bytes);
        EXPECT_FALSE(utf8.hasError());
        QSet<QString> names, targets;
        for (const auto &m : QRegularExpression(QStringLiteral("name=\"(\\w+)\"")).globalMatch(html))
            names.insert(m.captured(1));
        for (const auto &m : QRegularExpression(QStringLiteral("href=\"#(\\w+)\"")).globalMatch(html))
            targets.insert(m.captured(1));
        EXPECT_GE(targets.size(), 7);
        EXPECT_TRUE(names.contains(targets));
        for (const char *key : {"F5", "F10", "Alt+S", "Talvocti/Talvodem.ini"})
            EXPECT_TRUE(html.contains(QLatin1String(key))) << key;

        ShowHelp(path, THelpCommand::Contents, nullptr);
        EXPECT_TRUE(HelpWindow()->Browser->toPlainText().contains(QStringLiteral("Talvodem")));
    }
}

TEST(HelpWindow, ContentsSearchAndHelpOnHelpShareOneWindow)
{
    TempDir dir;
    std::string body = "<h1>Top</h1><p><a href=\"#end\">to the end</a></p>";
    for (int i = 0; i < 200; ++i)
        body += "<p>line " + std::to_string(i) + "</p>";
    body += "<p><a name=\"end\"></a>Zvednuté sluchátko</p><p>sluchátko again</p>";
    WriteBytes(dir.File("Talvdeng.html"), "<html><head><meta charset=\"utf-8\"></head><body>" + body + "</body></html>");

    ShowHelp(dir.File("Talvdeng.html"), THelpCommand::Contents, nullptr);
    THelpWindow *w = HelpWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_FALSE(w->FindBar->isVisible());
    emit w->Browser->anchorClicked(QUrl(QStringLiteral("#end")));
    EXPECT_GT(w->Browser->verticalScrollBar()->value(), 0) << "an anchor in the page scrolls to it";
    ShowHelp(dir.File("Talvdeng.html"), THelpCommand::Contents, nullptr);
    EXPECT_EQ(w->Browser->verticalScrollBar()->value(), 0) << "contents start from the top";

    ShowHelp(dir.File("Talvdeng.html"), THelpCommand::Search, nullptr);
    EXPECT_EQ(HelpWindow(), w);
    EXPECT_TRUE(w->FindBar->isVisible());
    const QString word = QStringLiteral("SLUCH\u00C1TKO");
    ASSERT_TRUE(w->Find(word, false)) << "case does not matter, accents included";
    const int first = w->Browser->textCursor().position();
    EXPECT_EQ(w->Browser->textCursor().selectedText(), QStringLiteral("sluch\u00E1tko"));
    ASSERT_TRUE(w->Find(word, false));
    EXPECT_GT(w->Browser->textCursor().position(), first);
    ASSERT_TRUE(w->Find(word, false));
    EXPECT_EQ(w->Browser->textCursor().position(), first) << "goes round the page";
    ASSERT_TRUE(w->Find(word, true));
    EXPECT_GT(w->Browser->textCursor().position(), first) << "backwards goes round too";
    const int before = w->Browser->textCursor().position();
    EXPECT_FALSE(w->Find(QStringLiteral("absent"), false));
    EXPECT_EQ(w->Browser->textCursor().position(), before);
    EXPECT_FALSE(w->FindState->text().isEmpty());
    EXPECT_FALSE(w->Find(QString(), false));

    ShowHelp(dir.File("Talvdeng.html"), THelpCommand::HelpOnHelp, nullptr);
    EXPECT_FALSE(w->Browser->toPlainText().contains(QStringLiteral("line 7")));
    EXPECT_TRUE(w->Browser->toPlainText().contains(QStringLiteral("Search")));
    ShowHelp(dir.File("Talvdeng.html"), THelpCommand::Search, nullptr);
    EXPECT_TRUE(w->Browser->toPlainText().contains(QStringLiteral("line 7"))) << "search brings the page back";
}

TEST(HelpWindow, MissingFileIsSaidInTheWindow)
{
    for (THelpCommand cmd : {THelpCommand::Contents, THelpCommand::Search}) {
        ShowHelp("/nonexistent/Talvdxx.html", cmd, nullptr);
        EXPECT_TRUE(HelpWindow()->Browser->toPlainText().contains(QStringLiteral("/nonexistent/Talvdxx.html")));
        EXPECT_FALSE(HelpWindow()->Find(QStringLiteral("zzz"), false));
    }
    ShowHelp("", THelpCommand::Contents, nullptr);
    EXPECT_TRUE(HelpWindow()->isVisible());
}

} // namespace
