#include "DbfProgress.h"

#include "Fce.h"
#include "Nlsfunc.h"

#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

TFDbfProgress::TFDbfProgress(QWidget *owner, const std::string &caption, TWork work)
    : TDialog(owner), work_(std::move(work)), timer_(new QTimer(this))
{
    SetCaption(caption);
    auto *layout = new QVBoxLayout(this);
    LabelRows = new TLabel(this);
    LabelRows->setMinimumWidth(340);
    layout->addWidget(LabelRows);
    auto *row = new QHBoxLayout;
    BitBtnCancel = new TBitBtn(this);
    BitBtnCancel->Tag = 2;
    BitBtnCancel->SetCaption("Cancel");
    row->addStretch();
    row->addWidget(BitBtnCancel);
    layout->addLayout(row);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFDbfProgress::reject);
    if (Nls)
        Nls->TranslateForm(this, true);
    // Interval 0: one step each time the event loop has nothing else to do.
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &TFDbfProgress::Tick);
    ShowRows();
}

void TFDbfProgress::ShowRows()
{
    LabelRows->SetCaption((Nls ? Nls->GetText(1112) : std::string("Rows:")) + " " + std::to_string(work_.Rows()));
}

void TFDbfProgress::Tick()
{
    bool more = false;
    try {
        more = work_.Step();
    } catch (...) {
        // Thrown through the event loop, the step would run again and again.
        error_ = std::current_exception();
    }
    ShowRows();
    if (!more) {
        timer_->stop();
        accept();
    }
}

void TFDbfProgress::reject()
{
    if (cancelled_ || result() == QDialog::Accepted)
        return;
    cancelled_ = true;
    timer_->stop();
    work_.Cancel();
    QDialog::reject();
}

bool TFDbfProgress::Run()
{
    adjustSize();
    if (parentWidget())
        CenterForm(parentWidget(), this);
    timer_->start();
    exec();
    if (error_)
        std::rethrow_exception(error_);
    return !cancelled_;
}
