#include "CallList.h"

#include "Attr.h"
#include "Data.h"
#include "Dbf.h"
#include "KeyForward.h"

#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

namespace {

bool Left(const QMouseEvent *event) { return event->button() == Qt::LeftButton; }

void Call(const std::function<void()> &handler)
{
    if (handler)
        handler();
}

} // namespace

void TListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    // The second press of a double click: the double-click event stands for it.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return;
    pressedRow_ = Left(event) ? indexAt(event->position().toPoint()).row() : -1;
    if (Left(event))
        Call(OnMouseDown);
}

void TListBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    const bool click = Left(event) && pressedRow_ >= 0 && indexAt(event->position().toPoint()).row() == pressedRow_;
    pressedRow_ = -1;
    if (click)
        Call(OnClick);
}

void TListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    pressedRow_ = -1;
    if (!Left(event))
        return;
    QPointer<TListBox> alive(this);
    if (indexAt(event->position().toPoint()).isValid())
        Call(OnDblClick);
    if (alive)
        Call(OnMouseDown);
}

TCallListWindow::TCallListWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall, int handle)
    : TSessionWindow(owner, std::move(section), keys, canCall, std::nullopt), ListBox(new TListBox(this)), Handle(handle)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox);
    ListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox->OnMouseDown = [this] { ListBoxMouseDown(); };
    ListBox->OnClick = [this] { ListBoxClick(); };
    ListBox->OnDblClick = [this] { ListBoxDblClick(); };
    ForwardKeys(ListBox);
    resize(220, 180);
}

void TCallListWindow::ListBoxClick()
{
    LastDownTicks = 0;
    const std::string cid = RowCid(ListBox->currentRow());
    if (FDbf && !cid.empty())
        FDbf->ShowNumber(cid, false);
}

void TCallListWindow::ListBoxDblClick()
{
    LastDownTicks = 0;
    if (CanCall && ListBox->currentRow() >= 0)
        TakeRow(ListBox->currentRow());
}

// A row pressed while the window was coming to the front is the user's newer choice.
void TCallListWindow::FormActivate()
{
    if (ListBox->currentRow() < 0)
        ListBox->setCurrentRow(SavedIndex);
}

void TCallListWindow::FormDeactivate()
{
    SavedIndex = ListBox->currentRow();
    ListBox->setCurrentRow(-1);
}

void TCallListWindow::changeEvent(QEvent *event)
{
    TSessionWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        isActiveWindow() ? FormActivate() : FormDeactivate();
}

std::vector<std::string> TCallListWindow::Lines() const
{
    std::vector<std::string> lines;
    for (int row = 0; row < ListBox->count(); ++row)
        lines.push_back(FromQ(ListBox->item(row)->text()));
    return lines;
}

bool TCallListWindow::Shows(const std::vector<std::string> &lines) const
{
    if (static_cast<size_t>(ListBox->count()) != lines.size())
        return false;
    for (int row = 0; row < ListBox->count(); ++row)
        if (ListBox->item(row)->text() != ToQ(lines[static_cast<size_t>(row)]))
            return false;
    return true;
}

// Every list the exchange sends comes here, mostly the same rows again: only a
// change refills the list (a refill drops the selection).
void TCallListWindow::SetLines(const std::vector<std::string> &lines, bool keepRow)
{
    const int row = ListBox->currentRow();
    if (Shows(lines)) {
        if (!keepRow)
            ListBox->setCurrentRow(-1);
        return;
    }
    ListBox->clear();
    for (const std::string &line : lines)
        ListBox->addItem(ToQ(line));
    if (keepRow && row < ListBox->count())
        ListBox->setCurrentRow(row);
}

std::string TCallListWindow::SlotText(const std::string &cid, const std::string &pbxName, const std::string &port)
{
    std::string text;
    if (FDbf)
        FDbf->FindNameByNumber(cid, pbxName, text, '(');
    if (text.empty() && PbxData)
        text = PbxData->PortName(port);
    if (text.empty())
        text = cid;
    return text.empty() ? port : text;
}

bool TCallListWindow::TakeAnswer(TSlotList &list, const std::string &message)
{
    return list.TakeElement(TAttrReader::GetAttrAct(message, "Act"), TAttrReader::GetAttrInt(message, "Pos"), [&] {
        const std::string cid = TAttrReader::GetAttr(message, "Cid");
        const std::string port = TAttrReader::GetAttr(message, "Port");
        return TCallSlot{SlotText(cid, TAttrReader::GetAttrText(message, "PBXName"), port), port, cid};
    });
}
