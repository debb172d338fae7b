#include "About.h"
#include "Auto.h"
#include "Cp1250.h"
#include "Dbf.h"
#include "FailureTrace.h"
#include "Main.h"
#include "Porter.h"
#include "Xml.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <exception>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// An exception that reaches the event loop is shown and the program goes on.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            TraceFailure("TApplication::notify");
            QMessageBox::critical(nullptr, applicationName(), ToQ(e.what()));
        } catch (...) {
            TraceFailure("TApplication::notify");
            QMessageBox::critical(nullptr, applicationName(), QStringLiteral("Unknown error"));
        }
        return false;
    }
};

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}

// A termination at the end of the session closes the panel the orderly way.
void CloseOnSignals(QObject *context)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char c;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &c, 1);
        if (FMain)
            FMain->close();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &sa, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // No program-wide OpenGL context here: the door console makes it when it
    // first loads the web engine, so other runs never load the OpenGL driver.
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CTI Talvo"));
    // The panel stays hidden until its skin shapes it, and may hide in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    CloseOnSignals(&app);
    try {
        auto main = std::make_unique<TFMain>();
        auto xml = std::make_unique<TFXML>();
        xml->SetReceivers(main.get());
        std::unique_ptr<TFDbf> dbf;
        std::unique_ptr<TFPorter> porter;
        std::unique_ptr<TFAbout> about;
        std::unique_ptr<TFAuto> autoDialler;
        // The panel shows before these are built, so a start looks quick; a
        // form that cannot be built still ends the program with its word.
        std::exception_ptr failed;
        main->BuildOtherForms = [&] {
            try {
                dbf = std::make_unique<TFDbf>();
                porter = std::make_unique<TFPorter>();
                about = std::make_unique<TFAbout>();
                autoDialler = std::make_unique<TFAuto>();
            } catch (...) {
                failed = std::current_exception();
                QCoreApplication::exit(1);
            }
        };
        app.exec();
        xml->SetReceivers(nullptr);
        if (failed)
            std::rethrow_exception(failed);
        // The forms go in the reverse order of their creation, the panel last.
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), ToQ(e.what()));
    }
    return 0;
}
