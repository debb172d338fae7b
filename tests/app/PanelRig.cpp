#include "PanelRig.h"

#include "Fce.h"
#include "Login.h"
#include "Paths.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QWindow>

#include <gtest/gtest.h>

#include <fstream>

PanelRig::PanelRig(const std::string &extraIni, const std::string &homeFolder) : HomeDir(home.Path() + homeFolder)
{
    qputenv("HOME", QByteArray::fromStdString(HomeDir));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.Path() + ".config"));
    const std::string data = HomeDir + "Talvocti/";
    QDir().mkpath(QString::fromStdString(data));
    std::ofstream(data + ProgramName() + ".ini", std::ios::binary)
        << "[TCP]\r\nIP=127.0.0.1\r\nPort=" << exchange.Port() << "\r\n[USR]\r\nUser=novak\r\nPass=secret\r\nLine=21\r\n"
        << extraIni;
    OnModal = [this](QWidget *w) { DefaultModal(w); };
    QObject::connect(&watcher_, &QTimer::timeout, [this] {
        if (QWidget *w = QApplication::activeModalWidget())
            OnModal(w);
    });
    watcher_.start(10);
}

PanelRig::~PanelRig() { Stop(); }

void PanelRig::Stop()
{
    watcher_.stop();
    if (xml)
        xml->SetReceivers(nullptr);
    if (main)
        main->close();
    dialler.reset();
    about.reset();
    porter.reset();
    dbf.reset();
    xml.reset();
    main.reset();
}

void PanelRig::DefaultModal(QWidget *w)
{
    if (auto *login = qobject_cast<TFLogin *>(w)) {
        ++Logins;
        login->BitBtnOkClick();
    } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
        Boxes.push_back(FromQ(box->text()));
        box->done(QMessageBox::Ok);
    }
}

void PanelRig::Start()
{
    main = std::make_unique<TFMain>();
    if (MainBuilt)
        MainBuilt();
    xml = std::make_unique<TFXML>();
    xml->SetReceivers(main.get());
    main->BuildOtherForms = [this] {
        PanelShownFirst = main->windowHandle() && main->windowHandle()->isExposed();
        dbf = std::make_unique<TFDbf>();
        porter = std::make_unique<TFPorter>();
        about = std::make_unique<TFAbout>();
        dialler = std::make_unique<TFAuto>();
    };
    EXPECT_TRUE(exchange.WaitConnected());
    // The log-in dialog of the start answers itself.
    EXPECT_TRUE(FakeExchange::WaitUntil(
        [this] { return Logins > 0 && exchange.Received().find("OPEN") != std::string::npos; }));
}

bool PanelRig::LogIn(const std::string &attr, const std::string &lineType)
{
    Answer("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"5\" Attr=\"" + attr + "\" Pos=\"2\" LineType=\"" + lineType + "\"/>");
    return main->Connected;
}

void PanelRig::Answer(const std::string &bytes)
{
    exchange.Send(bytes);
    Settle();
}

void PanelRig::Settle()
{
    // The panel reads and dispatches in one step, but a request or an answer
    // may also come from work posted for later: settled once nothing is left
    // unread on either side both before and after handling what is pending.
    auto quiet = [this] {
        if (!exchange.Delivered(*xml->ClientSocket1))
            return false;
        QCoreApplication::processEvents();
        return exchange.Delivered(*xml->ClientSocket1);
    };
    if (!FakeExchange::WaitUntil(quiet))
        ADD_FAILURE() << "the panel and the exchange never caught up";
}

std::string PanelRig::Sent()
{
    Settle();
    std::string all = exchange.Received().substr(seen_);
    seen_ = exchange.Received().size();
    return all;
}

std::string PanelRig::LabelText(const char *name) const
{
    auto *label = main->findChild<TLabel *>(QString::fromLatin1(name));
    return label ? label->Caption() : std::string("<no label>");
}

bool AnswerFileDialog(QWidget *w, const QString &name)
{
    auto *dialog = qobject_cast<QFileDialog *>(w);
    auto *list = dialog ? dialog->findChild<QListView *>(QStringLiteral("listView")) : nullptr;
    if (!list || !list->model() || list->model()->rowCount(list->rootIndex()) == 0)
        return false;
    dialog->grab();
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, name.isEmpty() ? "reject" : "accept");
    return true;
}
