#include "ContactMemo.h"

#include "DbView.h"
#include "FailureTrace.h"
#include "PhoneBookStore.h"
#include "UnkeptText.h"
#include "Vcl.h"

#include <QEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

TContactMemo::TContactMemo(TMemo *memo, TDbView *view, TPhoneBookStore &store,
                           std::function<void(const std::exception &)> onError, bool held)
    : memo_(memo), view_(view), store_(store), onError_(std::move(onError)), holding_(held)
{
    memo_->installEventFilter(this);
    if (!holding_)
        connect(memo_, &QPlainTextEdit::textChanged, this, &TContactMemo::DropUnkept);
    observer_ = view_->AddObserver([this](bool) { Show(); });
    Show();
}

TContactMemo::~TContactMemo()
{
    if (!holding_)
        Save();
    view_->RemoveObserver(observer_);
}

bool TContactMemo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memo_ && event->type() == QEvent::FocusOut)
        Save();
    return QObject::eventFilter(watched, event);
}

void TContactMemo::Show()
{
    Save();
    std::string text;
    recNo_ = 0;
    try {
        if (view_->HasRow()) {
            recNo_ = view_->Cursor().RecNo();
            if (!Held(recNo_, text))
                text = view_->Cursor().FieldByName("MEMO").AsString();
        }
    } catch (const std::exception &) {
        recNo_ = 0;
        TraceFailure("TContactMemo::Show"); // the memo shows empty and read-only
    }
    memo_->setPlainText(ToQ(text));
    memo_->document()->setModified(false);
    memo_->setReadOnly(recNo_ == 0);
}

void TContactMemo::Save()
{
    if (!recNo_ || !memo_->document()->isModified())
        return;
    memo_->document()->setModified(false);
    if (holding_)
        held_[recNo_] = memo_->toPlainText();
    else
        Store(recNo_, FromQ(memo_->toPlainText()));
}

void TContactMemo::DropUnkept()
{
    const QString text = memo_->toPlainText();
    const QStringList unkept = cp1250::Unkept(text);
    if (unkept.isEmpty() || dropping_)
        return;
    dropping_ = true; // each removal changes the text again
    QTextDocument *doc = memo_->document();
    for (const QString &ch : unkept)
        for (QTextCursor at = doc->find(ch); !at.isNull(); at = doc->find(ch, at))
            at.removeSelectedText();
    dropping_ = false;
    // Told once the edit is over, not from inside it.
    QMetaObject::invokeMethod(this, [this, text] { WarnUnkept(memo_->window(), text); }, Qt::QueuedConnection);
}

bool TContactMemo::Held(uint32_t recNo, std::string &text) const
{
    auto it = held_.find(recNo);
    if (it == held_.end())
        return false;
    text = FromQ(it->second);
    return true;
}

void TContactMemo::Commit()
{
    Save();
    for (const auto &[recNo, text] : held_)
        Store(recNo, FromQ(text));
    held_.clear();
}

void TContactMemo::Store(uint32_t recNo, const std::string &text)
{
    // Through a cursor of its own: the contacts' current row may have moved on.
    try {
        TDbCursor &row = view_->Reader();
        if (!row.BookmarkValid(recNo))
            throw EDbRecordGone("Contact " + std::to_string(recNo) + " is gone");
        row.GotoBookmark(recNo);
        row.Edit();
        row.FieldByName("MEMO").SetAsString(text);
        store_.Post(row);
    } catch (const EDbRecordGone &e) {
        if (onError_)
            onError_(EContactGone(e.what(), text));
    } catch (const std::exception &e) {
        if (onError_)
            onError_(e);
    }
}

bool TContactMemo::RefuseUnkept(QWidget *owner, uint32_t recNo)
{
    Save();
    auto it = held_.find(recNo);
    if (it == held_.end() || cp1250::Unkept(it->second).isEmpty())
        return false;
    const QString text = it->second;
    // Its contact may be one the view no longer shows; the characters are named all the same.
    if (recNo != recNo_)
        view_->MoveToRecNo(recNo);
    if (recNo == recNo_)
        BringIntoView(memo_);
    return WarnUnkept(owner, text);
}

bool TContactMemo::RefuseUnkept(QWidget *owner)
{
    Save();
    std::vector<uint32_t> held;
    for (const auto &entry : held_)
        held.push_back(entry.first);
    for (uint32_t recNo : held)
        if (RefuseUnkept(owner, recNo))
            return true;
    return false;
}
