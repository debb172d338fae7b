#pragma once
// The exchange-link window: the one connection to the exchange, the message
// list and the keep-alive.
#include "Vcl.h"
#include "XmlLink.h"

#include <QListWidget>
#include <QTcpSocket>

class TIniFile;

class TFXML : public TForm, public TXmlLink, private TMessageList {
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
    QListWidget *ListBox1;
    QTcpSocket *ClientSocket1;

protected:
    void WriteToExchange(const std::string &bytes) override;

private:
    void ClientSocket1Read();
    void PostRead();
    void OnDisconnected();
    bool readPosted_ = false;

    int Count() const override { return ListBox1->count(); }
    void DeleteFirst() override { delete ListBox1->takeItem(0); }
    void Add(const std::string &line) override { ListBox1->addItem(ToQ(line)); }
    int ItemIndex() const override { return ListBox1->currentRow(); }
    void SetItemIndex(int index) override { ListBox1->setCurrentRow(index); }
};

extern TFXML *FXML;
