#pragma once
// An exchange of our own for tests: listens on 127.0.0.1 on a free port,
// records every byte the client sends and sends what the test scripts.
// It never connects anywhere itself.
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <string>
#include <vector>

class FakeExchange : public QObject {
    Q_OBJECT
public:
    FakeExchange();
    ~FakeExchange() override;

    quint16 Port() const { return server_.serverPort(); }
    // Clients accepted so far.
    int Connections() const { return connections_; }
    bool Connected() const;
    // Every byte received, over all connections, in order.
    const std::string &Received() const { return received_; }
    void ClearReceived() { received_.clear(); }

    // To the current client, as they stand (NUL and BS bytes too).
    void Send(const std::string &bytes);
    // In pieces cut at the given offsets, with a pause after each piece.
    void SendSplit(const std::string &bytes, const std::vector<size_t> &cuts, int pauseMs = 30);
    // Whenever the received bytes gain another `request`, sends `answer`.
    void Reply(const std::string &request, const std::string &answer);
    // Nobody answers on the port any more.
    void StopListening() { server_.close(); }
    // Closes the client's connection.
    void Drop();
    // A full accept queue: a new connection neither completes nor fails
    // until Resume(), which lets it complete on the client's next try.
    bool Stall();
    void Resume() { server_.resumeAccepting(); }

    // Nothing that the exchange sent is still on its way to the client, and
    // everything the client sent has been read here.
    bool Delivered(const QAbstractSocket &client) const;

    bool WaitConnected(int count = 1, int ms = 5000);
    bool WaitReceived(const std::string &text, int ms = 5000);

    // Runs the event loop until done() holds or ms have passed.
    static bool WaitUntil(const std::function<bool()> &done, int ms = 5000);
    static void Pause(int ms);
    // Bytes a socket has been sent and not yet read: in its buffer and in the kernel's.
    static qint64 Unread(const QAbstractSocket &socket);
    // Bytes a socket was given that the other end's kernel has not yet taken.
    static qint64 Unsent(const QAbstractSocket &socket);

private:
    void Accept();
    void Read();

    struct Rule {
        std::string request, answer;
        size_t answered = 0;
    };
    QTcpServer server_;
    QTcpSocket *client_ = nullptr;
    QTcpSocket filler_;
    int connections_ = 0;
    std::string received_;
    std::vector<Rule> rules_;
};
