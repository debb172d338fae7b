#include "Personal.h"

#include "Attr.h"
#include "Fce.h"
#include "KeyForward.h"
#include "LineRequest.h"
#include "PanelCalls.h"
#include "PerSet.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTextDocument>

TFPer *FPer = nullptr;

namespace {
constexpr int kButtonWidth = 104, kButtonHeight = 19, kRows = 16, kMargin = 4;
}

TFPer::TFPer(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Personal", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Handle(handle)
{
    Tag = 8500;
    SetCaption("Speed dials");
    for (int slot = 0; slot < kSlots; ++slot) {
        auto *button = new TBitBtn(this);
        button->setObjectName(QString("BitBtn%1").arg(slot));
        button->setGeometry(kMargin + slot / kRows * (kButtonWidth + kMargin), kMargin + slot % kRows * kButtonHeight,
                            kButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, slot] { BitBtnClick(slot); });
        button->installEventFilter(this);
        ForwardKeys(button);
        Buttons[static_cast<size_t>(slot)] = button;
        ShowSlot(slot);
    }
    resize(2 * kButtonWidth + 3 * kMargin, kRows * kButtonHeight + 2 * kMargin);
    // Where the window stands when the desktop holds no place for it.
    move(0, 100);
    RequestAll();
    Translate();
}

TFPer::~TFPer()
{
    if (FPer == this)
        FPer = nullptr;
}

void TFPer::RequestAll()
{
    for (int pos = 0; pos < kSlots; ++pos)
        SendLineRequest("SHORT", Handle, "GET", {{"Pos", std::to_string(pos)}});
}

void TFPer::ProcessAnswer(const std::string &act, int pos, const std::string &num, const std::string &text)
{
    if (act != "GET" || pos < 0 || pos >= kSlots)
        return;
    // What this window stores goes out with '"' and '>' as entities; they come back so.
    Numbers[static_cast<size_t>(pos)] = TAttrReader::DecodeEntities(num);
    Texts[static_cast<size_t>(pos)] = TAttrReader::DecodeEntities(text);
    ShowSlot(pos);
}

void TFPer::ShowSlot(int slot)
{
    const std::string &num = Numbers[static_cast<size_t>(slot)];
    const std::string &text = Texts[static_cast<size_t>(slot)];
    TBitBtn *button = Buttons[static_cast<size_t>(slot)];
    // Shown as typed: a '&' would otherwise vanish and make a shortcut that dials.
    QString caption = ToQ(text.empty() ? num : text);
    button->setText(caption.replace('&', "&&"));
    // Text from the exchange must not be taken for markup by the tool tip.
    const QString hint = ToQ(text + " : " + num);
    button->setToolTip(Qt::mightBeRichText(hint) ? "<p style='white-space:pre'>" + hint.toHtmlEscaped() + "</p>" : hint);
}

void TFPer::BitBtnClick(int slot)
{
    const std::string &num = Numbers[static_cast<size_t>(slot)];
    if (!num.empty())
        panelcall::Dial(num, "L");
}

void TFPer::BitBtnMouseDown(int slot, Qt::MouseButton button)
{
    if (button != Qt::RightButton || slot < 0 || slot >= kSlots)
        return;
    auto &num = Numbers[static_cast<size_t>(slot)];
    auto &text = Texts[static_cast<size_t>(slot)];
    QPointer<TFPer> alive(this);
    QPointer<TFPerSet> dialog = new TFPerSet(this, &num, &text);
    CenterForm(this, dialog);
    const bool ok = dialog->exec() == QDialog::Accepted;
    // The log-in may have ended while the dialog was open.
    if (!alive)
        return;
    delete dialog;
    if (!ok)
        return;
    ShowSlot(slot);
    SendLineRequest("SHORT", Handle, "SET", {{"Pos", std::to_string(slot)}, {"Num", num}, {"Text", text}});
}

// A right press opens the dialog once the press has been delivered: the
// dialog's own loop may end the log-in and free this window.
bool TFPer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        for (int slot = 0; slot < kSlots; ++slot)
            if (watched == Buttons[static_cast<size_t>(slot)] && mouse->button() == Qt::RightButton)
                QMetaObject::invokeMethod(
                    this, [this, slot] { BitBtnMouseDown(slot, Qt::RightButton); }, Qt::QueuedConnection);
    }
    return TSessionWindow::eventFilter(watched, event);
}

