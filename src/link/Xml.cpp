#include "Xml.h"

#include "Fce.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "Placement.h"
#include "Xmlset.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

TFXML *FXML = nullptr;

TFXML::TFXML(QWidget *owner, const std::string &dataDir) : TForm(owner)
{
    SetCaption("XML");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new TToolBar(this);
    SpeedButtonSet = new TSpeedButton(ToolBar1);
    SpeedButtonSet->setText("...");
    ToolBar1->addWidget(SpeedButtonSet);
    layout->addWidget(ToolBar1);
    ListBox1 = new QListView(this);
    ListBox1->setUniformItemSizes(true);
    QFont font("Courier New", 8);
    font.setStyleHint(QFont::TypeWriter);
    ListBox1->setFont(font);
    layout->addWidget(ListBox1);
    resize(400, 300);
    connect(SpeedButtonSet, &QToolButton::clicked, this, [this] { SpeedButtonSetClick(); });
    ForwardKeys(this);
    ForwardKeys(ListBox1);

    NewSocket();

    DataDir = !dataDir.empty() ? dataDir : !::DataDir.empty() ? ::DataDir : GetDataDir("Talvocti");
    std::error_code failed;
    std::filesystem::create_directories(DataDir, failed);
    // Tests hand in a folder of their own; the program shares the panel's file.
    IniPath = dataDir.empty() && !::DataDir.empty() ? ProgramIniPath() : DataDir + "Talvodem.ini";
    SetMessageList(&Messages);
    if (!FXML)
        FXML = this;

    OutBuffer.clear();
    ResetReceive();
    LoadSettings();
    OpenPort();
}

TFXML::~TFXML()
{
    // The receivers may be gone already: closing here is no lost connection.
    ClientSocket1->disconnect(this);
    ClientSocket1->abort();
    SaveSettings();
    if (FXML == this)
        FXML = nullptr;
}

void TFXML::LoadSettings()
{
    TIniFile ini(IniPath);
    ReadLinkSettings(ini);
}

void TFXML::SaveSettings()
{
    TIniFile ini(IniPath);
    WriteLinkSettings(ini);
}

void TFXML::NewSocket()
{
    if (QTcpSocket *old = ClientSocket1) {
        // Its queued calls find it is no longer the current socket and do nothing.
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    auto *socket = new QTcpSocket(this);
    ClientSocket1 = socket;
    readPosted_ = false;
    // A flood waits in the exchange's send queue, not in our memory: once this
    // much is unread, TCP holds the sender back.
    socket->setReadBufferSize(kReadBufferSize);
    // Socket errors are never shown: a request without a connection is simply lost.
    connect(socket, &QTcpSocket::readyRead, this, [this] { PostRead(); });
    // Queued, so that answers read before the drop are dispatched first; by
    // then the socket may have been replaced, and its drop is no longer news.
    const QPointer<QTcpSocket> dropped(socket);
    connect(
        socket, &QTcpSocket::disconnected, this,
        [this, dropped] {
            if (dropped && dropped == ClientSocket1)
                OnDisconnected();
        },
        Qt::QueuedConnection);
}

// Nothing of an old connection belongs to the new one: a list cut off by a
// drop must not swallow the new connection's answers.
void TFXML::OpenPort()
{
    ResetReceive();
    if (!PortValid())
        return;
    // Every connection on a socket of its own: the old one's queued calls and
    // its own state from the old connection stay with it.
    NewSocket();
    ClientSocket1->connectToHost(QString::fromLatin1(Address.c_str()), static_cast<quint16>(Port));
}

// Closed here, the connection ends without a word: nothing of it is read or
// reported any more.
void TFXML::ClosePort() { NewSocket(); }

namespace {

// Why a connection failed, in the user's language rather than the socket's.
std::string ConnectError(const QTcpSocket &socket, bool stillConnecting)
{
    int id = 9354;
    if (stillConnecting || socket.error() == QAbstractSocket::SocketTimeoutError)
        id = 9353;
    else if (socket.error() == QAbstractSocket::ConnectionRefusedError)
        id = 9351;
    else if (socket.error() == QAbstractSocket::HostNotFoundError)
        id = 9352;
    return Nls ? Nls->GetText(id) : std::string();
}

} // namespace

bool TFXML::EnsureConnected(std::string &error, int ms)
{
    if (!PortValid()) {
        error = Nls ? Nls->GetText(9350) : std::string();
        return false;
    }
    if (ClientSocket1->state() != QAbstractSocket::ConnectingState &&
        ClientSocket1->state() != QAbstractSocket::HostLookupState) {
        if (ClientSocket1->state() == QAbstractSocket::ConnectedState)
            return true;
        OpenPort(); // on a fresh socket: the old one goes with it
    }
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    connect(ClientSocket1, &QTcpSocket::connected, &wait, &QEventLoop::quit);
    connect(ClientSocket1, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
    if (ClientSocket1->state() != QAbstractSocket::UnconnectedState)
        wait.exec();
    if (ClientSocket1->state() == QAbstractSocket::ConnectedState)
        return true;
    error = ConnectError(*ClientSocket1, ClientSocket1->state() != QAbstractSocket::UnconnectedState);
    ClosePort();
    return false;
}

void TFXML::OnDisconnected()
{
    const QPointer<QTcpSocket> socket(ClientSocket1);
    while (socket == ClientSocket1 && socket->bytesAvailable() > 0 && Framing.Room() > 0)
        ClientSocket1Read();
    // A receiver's box may have let a new connection begin: the loss is not its.
    if (socket == ClientSocket1)
        ConnectionLost();
}

void TFXML::WriteToExchange(const std::string &bytes)
{
    // A connecting socket would keep the bytes and send them later.
    if (ClientSocket1->state() == QAbstractSocket::ConnectedState)
        ClientSocket1->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TFXML::showEvent(QShowEvent *event)
{
    Messages.Attach(ListBox1);
    TForm::showEvent(event);
}

void TFXML::hideEvent(QHideEvent *event)
{
    TForm::hideEvent(event);
    Messages.Attach(nullptr);
}

void TFXML::PostRead()
{
    if (readPosted_)
        return;
    readPosted_ = true;
    const QPointer<QTcpSocket> socket(ClientSocket1);
    QMetaObject::invokeMethod(
        this,
        [this, socket] {
            // A step posted for a socket since replaced reads nothing of the new one.
            if (!socket || socket != ClientSocket1)
                return;
            ClientSocket1Read();
        },
        Qt::QueuedConnection);
}

// One read step cuts and dispatches what the socket holds, a buffer at a
// time, so that a burst is painted once and not once per buffer. It posts the
// next step before it dispatches, so a modal box opened by a receiver keeps
// reading.
void TFXML::ClientSocket1Read()
{
    readPosted_ = false;
    // A receiver's modal box may see the connection replaced: the step ends
    // with the socket it began on.
    const QPointer<QTcpSocket> socket(ClientSocket1);
    char chunk[TRxFraming::kSize];
    while (socket && socket == ClientSocket1 && socket->bytesAvailable() > 0) {
        const qint64 wanted = std::min<qint64>(socket->bytesAvailable(), Framing.Room());
        if (wanted <= 0)
            return;
        const qint64 got = socket->read(chunk, wanted);
        if (got <= 0)
            return;
        if (socket->bytesAvailable() > 0)
            PostRead();
        Receive(chunk, static_cast<int>(got));
    }
}

void TFXML::LoadPlacement(const TIniFile &ini)
{
    ::LoadPlacement(ini, "XML", this, PlacementKeys::VisibleLeftTopWidthHeight, QPoint(0, 50));
}

void TFXML::SavePlacement(TIniFile &ini) const
{
    ::SavePlacement(ini, "XML", this, PlacementKeys::VisibleLeftTopWidthHeight);
}

void TFXML::Translate()
{
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFXML::SpeedButtonSetClick()
{
    std::string ip = Address;
    auto *dialog = new TFXmlSet(this, Trace, TraceErase, Terminal, ShowLive, ip, Receivers().SessionConnected());
    CenterForm(this, dialog);
    dialog->ShowModal();
    delete dialog;
    if (ip != Address) {
        ClosePort();
        Address = ip;
        OpenPort();
    }
}
