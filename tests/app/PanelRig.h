#pragma once
// The whole program against a fake exchange: the auto-created forms in their
// order, a fresh home folder, a watcher that answers modal dialogs, and the
// answer and request texts the tests send and expect.
#include "About.h"
#include "Auto.h"
#include "Dbf.h"
#include "FakeExchange.h"
#include "Main.h"
#include "Porter.h"
#include "TempDir.h"
#include "Xml.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class PanelRig {
public:
    // extraIni: more settings lines for the program's INI file; homeFolder:
    // the user's home inside the fresh folder (a UTF-8 name ending in '/').
    explicit PanelRig(const std::string &extraIni = "", const std::string &homeFolder = "");
    ~PanelRig();

    // Creates the forms; the log-in dialog that opens at start is answered with OK.
    void Start();
    // Logs in with the given granted rights and line type; true once connected.
    bool LogIn(const std::string &attr = "STS-CTI-CMD", const std::string &lineType = "IL");
    // Closes the panel the orderly way and frees the forms, the panel last.
    void Stop();
    // Sends answers and waits until the panel has read them.
    void Answer(const std::string &bytes);
    // Waits until every byte sent either way has been read and handled.
    void Settle();
    // Requests sent since the last call.
    std::string Sent();
    std::string LabelText(const char *name) const;

    TempDir home;
    std::string HomeDir; // $HOME, ending in '/'
    FakeExchange exchange;
    std::unique_ptr<TFMain> main;
    std::unique_ptr<TFXML> xml;
    std::unique_ptr<TFDbf> dbf;
    std::unique_ptr<TFPorter> porter;
    std::unique_ptr<TFAbout> about;
    std::unique_ptr<TFAuto> dialler;

    // Called once the panel is constructed, before the other forms are.
    std::function<void()> MainBuilt;
    // Called for every modal dialog; the default accepts the log-in and
    // notes every message box's text.
    std::function<void(QWidget *)> OnModal;
    std::vector<std::string> Boxes;
    int Logins = 0;
    // Whether the panel was on the screen when the other forms were built.
    bool PanelShownFirst = false;

    // What the default OnModal does: OK to the log-in, every box noted and closed.
    void DefaultModal(QWidget *w);

private:
    QTimer watcher_;
    size_t seen_ = 0;
};

// Answers a file dialog once it lists its folder: drawn whole, as on a
// screen, then the name typed and OK, or Cancel for no name. False while
// its list is still coming, or for any other window.
bool AnswerFileDialog(QWidget *w, const QString &name);

// <ans Type="type" Handle="5" rest/>
inline std::string Ans(const std::string &type, const std::string &rest)
{
    return "<ans Type=\"" + type + "\" Handle=\"5\" " + rest + "/>";
}

// A list answer: the opening tag, one inner tag per element, the closing tag.
inline std::string List(const std::string &type, const std::vector<std::string> &items)
{
    std::string list = "<ans Type=\"" + type + "\" Handle=\"5\" Act=\"ACT\">\r\n";
    for (const std::string &item : items)
        list += "<ans " + item + " Act=\"ACT\"/>\r\n";
    return list + "</ans>\r\n";
}

// <req Type="type" Handle="5" rest/>
inline std::string Req(const std::string &type, const std::string &rest)
{
    return "<req Type=\"" + type + "\" Handle=\"5\" " + rest + "/>";
}

inline std::string Comm(const std::string &rest) { return Req("COMM", rest); }

inline std::string State(const std::string &word)
{
    return Ans("STATE", "State=\"" + word + "\" Hfree=\"0\" Mic=\"0\"");
}
