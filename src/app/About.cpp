#include "About.h"

#include "Nlsfunc.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <charconv>

#ifndef TALVO_VERSION
#define TALVO_VERSION "0.0.0.0"
#endif

TFAbout *FAbout = nullptr;

TVersion ParseVersion(const std::string &text)
{
    int parts[4] = {};
    size_t pos = 0;
    for (int &part : parts) {
        size_t end = text.find('.', pos);
        if (end == std::string::npos)
            end = text.size();
        int n = 0;
        auto [ptr, ec] = std::from_chars(text.data() + pos, text.data() + end, n);
        part = (ec == std::errc() && ptr == text.data() + end && n >= 0 && n <= 0xFFFF) ? n : 0;
        if (end >= text.size())
            break;
        pos = end + 1;
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}

std::string VersionText(const TVersion &v)
{
    std::string s = std::to_string(v.Major) + ".";
    if (v.Minor < 10)
        s += "0";
    s += std::to_string(v.Minor);
    // Only A to Z are letters; later releases would give other characters.
    if (v.Release != 0)
        s += " " + std::string(1, static_cast<char>(64 + (v.Release & 0xFF)));
    return s;
}

TFAbout::TFAbout(QWidget *parent) : TDialog(parent)
{
    FAbout = this;
    Tag = 1000;
    SetCaption("About");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->setSpacing(10);
    setMinimumWidth(300);
    Label1 = new TLabel(this);
    Label1->SetCaption("CTI Talvo");
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setBold(true);
    Label1->setFont(big);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);

    auto *row = new QHBoxLayout;
    Label2 = new TLabel(this);
    Label2->Tag = 1001;
    Label2->SetCaption("Version:");
    Version = new TLabel(this);
    row->addStretch();
    row->addWidget(Label2);
    row->addWidget(Version);
    row->addStretch();
    layout->addLayout(row);

    Label4 = new TLabel(this);
    Label4->SetCaption("\xA9 Talvo");
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);
    layout->addWidget(Label4, 0, Qt::AlignHCenter);
    LabelInfo = new TLabel(this);
    layout->addWidget(LabelInfo, 0, Qt::AlignHCenter);

    auto *buttons = new QHBoxLayout;
    BitBtn1 = new TBitBtn(this);
    BitBtn1->Tag = 1;
    BitBtn1->SetCaption("OK");
    BitBtn1->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    ReadVersion();
    Version->SetCaption(VersionText(Ver));
}

TFAbout::~TFAbout()
{
    if (FAbout == this)
        FAbout = nullptr;
}

void TFAbout::ReadVersion() { Ver = ParseVersion(TALVO_VERSION); }

void TFAbout::Label4Click() { LabelInfo->SetCaption(std::string(__DATE__) + "," + __TIME__); }

void TFAbout::Translate() { Nls->TranslateForm(this, true); }

void TFAbout::showEvent(QShowEvent *e)
{
    if (Nls)
        Translate();
    TDialog::showEvent(e);
}

bool TFAbout::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Label4 && e->type() == QEvent::MouseButtonRelease)
        Label4Click();
    return TDialog::eventFilter(watched, e);
}
