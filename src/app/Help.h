#pragma once
// The help window: the help page of the current language, a find bar over its
// text, and a short built-in text on using the window itself.
#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class QUrl;

enum class THelpCommand { Contents, Search, HelpOnHelp };

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);
    void Run(const std::string &helpFile, THelpCommand cmd);
    // The language changed: the window's texts, and the page when it is shown.
    void ChangeLanguage(const std::string &helpFile);
    // Finds the next (or previous) occurrence, ignoring case and going round
    // the page once; false leaves the selection where it was.
    bool Find(const QString &text, bool backward);

    QTextBrowser *Browser;
    QWidget *FindBar;
    QLineEdit *FindEdit;
    QLabel *FindState;

private:
    void Translate();
    void ShowContents();
    void ShowHelpOnHelp();
    void FollowLink(const QUrl &url);

    QPushButton *contents_, *search_, *helpOnHelp_, *next_, *previous_;
    QLabel *findLabel_;
    std::string file_;
    bool pageShown_ = false;
};

// The one help window, created on first use as a window of parent.
void ShowHelp(const std::string &helpFile, THelpCommand cmd, QWidget *parent);
THelpWindow *HelpWindow();
