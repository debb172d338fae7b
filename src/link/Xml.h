#pragma once
// The exchange-link window: the one connection to the exchange, the message
// list and the keep-alive.
#include "MessageModel.h"
#include "Vcl.h"
#include "XmlLink.h"

#include <QListView>
#include <QTcpSocket>

class TIniFile;

class TFXML : public TForm, public TXmlLink {
    Q_OBJECT
public:
    // dataDir: folder of the INI and trace files, ending in a slash; empty
    // takes the user's data folder (created when missing).
    explicit TFXML(QWidget *owner = nullptr, const std::string &dataDir = "");
    ~TFXML() override;

    void LoadSettings();
    void SaveSettings();
    void OpenPort();
    void ClosePort();
    // Connects again when the connection is down, waiting at most ms;
    // false with the reason in error when it cannot.
    bool EnsureConnected(std::string &error, int ms = 5000);
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    void Translate();
    void SpeedButtonSetClick();

    std::string IniPath;

    TToolBar *ToolBar1;
    TSpeedButton *SpeedButtonSet;
    static constexpr qint64 kReadBufferSize = 64 * 1024;

    QListView *ListBox1;
    // The current connection's socket: each connection gets a fresh one, so
    // that nothing of a closed connection (queued calls, the socket's own
    // state) reaches a later one.
    QTcpSocket *ClientSocket1 = nullptr;
    // The lines of the message list; ListBox1 shows them while the window is shown.
    TMessageModel Messages;

protected:
    void WriteToExchange(const std::string &bytes) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Puts a fresh socket in place of the current one, which is cut off from
    // this window, closed and deleted later.
    void NewSocket();
    void ClientSocket1Read();
    void PostRead();
    void OnDisconnected();
    bool readPosted_ = false;
};

extern TFXML *FXML;
