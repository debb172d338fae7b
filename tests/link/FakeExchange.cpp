#include "FakeExchange.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/ioctl.h>

FakeExchange::FakeExchange()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &FakeExchange::Accept);
}

FakeExchange::~FakeExchange() { Drop(); }

bool FakeExchange::Connected() const
{
    return client_ && client_->state() == QAbstractSocket::ConnectedState;
}

void FakeExchange::Accept()
{
    while (QTcpSocket *s = server_.nextPendingConnection()) {
        Drop();
        client_ = s;
        ++connections_;
        connect(s, &QTcpSocket::readyRead, this, &FakeExchange::Read);
    }
}

void FakeExchange::Read()
{
    if (!client_)
        return;
    const QByteArray bytes = client_->readAll();
    received_.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    for (Rule &r : rules_) {
        size_t seen = 0;
        for (size_t p = received_.find(r.request); p != std::string::npos; p = received_.find(r.request, p + 1))
            ++seen;
        for (; r.answered < seen; ++r.answered)
            Send(r.answer);
    }
}

void FakeExchange::Send(const std::string &bytes)
{
    if (!client_)
        return;
    client_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    client_->flush();
}

void FakeExchange::SendSplit(const std::string &bytes, const std::vector<size_t> &cuts, int pauseMs)
{
    size_t from = 0;
    for (size_t cut : cuts) {
        Send(bytes.substr(from, cut - from));
        Pause(pauseMs);
        from = cut;
    }
    Send(bytes.substr(from));
    Pause(pauseMs);
}

void FakeExchange::Reply(const std::string &request, const std::string &answer)
{
    rules_.push_back({request, answer, 0});
}

bool FakeExchange::Stall()
{
    const quint16 port = Port();
    server_.close();
    server_.setListenBacklogSize(0);
    if (!server_.listen(QHostAddress::LocalHost, port))
        return false;
    server_.pauseAccepting();
    // One connection the kernel completes and nobody accepts fills the queue.
    filler_.connectToHost(QHostAddress::LocalHost, port);
    return filler_.waitForConnected(2000);
}

void FakeExchange::Drop()
{
    if (!client_)
        return;
    client_->abort();
    client_->deleteLater();
    client_ = nullptr;
}

namespace {

int KernelCount(const QAbstractSocket &socket, unsigned long request)
{
    int count = 0;
    const qintptr fd = socket.socketDescriptor();
    return fd >= 0 && ioctl(static_cast<int>(fd), request, &count) == 0 ? count : 0;
}

} // namespace

qint64 FakeExchange::Unread(const QAbstractSocket &socket) { return socket.bytesAvailable() + KernelCount(socket, FIONREAD); }

// Loopback delivery may be left to a kernel thread: only the receiver's
// acknowledgement says the bytes have arrived.
qint64 FakeExchange::Unsent(const QAbstractSocket &socket) { return socket.bytesToWrite() + KernelCount(socket, TIOCOUTQ); }

bool FakeExchange::Delivered(const QAbstractSocket &client) const
{
    for (const QAbstractSocket *s : {static_cast<const QAbstractSocket *>(client_), &client})
        if (s && (Unsent(*s) > 0 || Unread(*s) > 0))
            return false;
    return true;
}

bool FakeExchange::WaitConnected(int count, int ms)
{
    return WaitUntil([&] { return connections_ >= count && Connected(); }, ms);
}

bool FakeExchange::WaitReceived(const std::string &text, int ms)
{
    return WaitUntil([&] { return received_.find(text) != std::string::npos; }, ms);
}

bool FakeExchange::WaitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms)
            return false;
        Pause(5);
    }
    return true;
}

void FakeExchange::Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
