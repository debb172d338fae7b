#include "Xmlset.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

TCheckBox *AddCheckBox(QWidget *page, int tag, const char *caption, bool checked)
{
    auto *box = new TCheckBox(page);
    box->Tag = tag;
    box->SetCaption(caption);
    box->setChecked(checked);
    page->layout()->addWidget(box);
    return box;
}

TTabSheet *AddPage(TPageControl *pages, int tag, const char *caption)
{
    TTabSheet *page = pages->AddPage(caption);
    page->Tag = tag;
    new QVBoxLayout(page);
    return page;
}

} // namespace

TFXmlSet::TFXmlSet(QWidget *owner, bool &trace, bool &traceErase, bool &terminal, bool &showLive, std::string &ip,
                   bool connected)
    : TForm(owner), trace_(trace), traceErase_(traceErase), terminal_(terminal), showLive_(showLive), ip_(ip)
{
    setWindowFlags(Qt::Dialog);
    Tag = 7000;
    SetCaption("XML");
    auto *layout = new QVBoxLayout(this);
    PageControl1 = new TPageControl(this);
    layout->addWidget(PageControl1);

    TabSheetTrace = AddPage(PageControl1, 7010, "Trace");
    CheckBoxTrace = AddCheckBox(TabSheetTrace, 7011, "Trace", trace);
    CheckBoxTraceErase = AddCheckBox(TabSheetTrace, 7012, "Erase", traceErase);

    TabSheetTerminal = AddPage(PageControl1, 7001, "Terminal");
    CheckBoxTerminal = AddCheckBox(TabSheetTerminal, 7002, "CR LF", terminal);
    CheckBoxLIVE = AddCheckBox(TabSheetTerminal, 7003, "LIVE", showLive);

    TabSheetServer = AddPage(PageControl1, 7020, "TCP");
    Label1 = new TLabel(TabSheetServer);
    Label1->Tag = 7021;
    Label1->SetCaption("IP");
    MaskEditIP = new TEdit(TabSheetServer);
    // Four groups of up to three digits, shown as typed: an input mask would
    // show its blank places between the digits.
    MaskEditIP->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,3}){0,3}")), MaskEditIP));
    MaskEditIP->setMaxLength(15);
    MaskEditIP->SetText(ip);
    LabelWarn = new TLabel(TabSheetServer);
    LabelWarn->Tag = 7022;
    LabelWarn->SetCaption("!");
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(MaskEditIP),
                       static_cast<QWidget *>(LabelWarn)})
        TabSheetServer->layout()->addWidget(w);
    // The address changes only while logged out.
    TabSheetServer->setEnabled(!connected);
    QPalette palette = TabSheetServer->palette();
    palette.setColor(QPalette::WindowText, connected ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black));
    TabSheetServer->setPalette(palette);
    LabelWarn->setVisible(connected);

    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCanc));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    connect(BitBtnCanc, &QPushButton::clicked, this, [this] { Finish(false); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

std::string TFXmlSet::GetIP() const
{
    std::string ip;
    for (char c : MaskEditIP->Text())
        if (c != ' ')
            ip += c;
    return ip;
}

void TFXmlSet::BitBtnOkClick()
{
    trace_ = CheckBoxTrace->isChecked();
    traceErase_ = CheckBoxTraceErase->isChecked();
    terminal_ = CheckBoxTerminal->isChecked();
    showLive_ = CheckBoxLIVE->isChecked();
    ip_ = GetIP();
    Finish(true);
}

void TFXmlSet::Finish(bool ok)
{
    ok_ = ok;
    if (loop_)
        loop_->quit();
}

void TFXmlSet::closeEvent(QCloseEvent *event)
{
    if (loop_)
        loop_->quit();
    TForm::closeEvent(event);
}

// Enter and Escape as every dialog takes them.
void TFXmlSet::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        Finish(false);
    else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && BitBtnOk->isEnabled())
        BitBtnOkClick();
    else
        TForm::keyPressEvent(event);
}

bool TFXmlSet::ShowModal()
{
    ok_ = false;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    hide();
    return ok_;
}
