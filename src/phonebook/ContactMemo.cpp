#include "ContactMemo.h"

#include "DbView.h"
#include "FailureTrace.h"
#include "PhoneBookStore.h"
#include "Vcl.h"

#include <QEvent>

TContactMemo::TContactMemo(TMemo *memo, TDbView *view, TPhoneBookStore &store,
                           std::function<void(const std::string &)> onError)
    : memo_(memo), view_(view), store_(store), onError_(std::move(onError))
{
    memo_->installEventFilter(this);
    observer_ = view_->AddObserver([this](bool) { Show(); });
    Show();
}

TContactMemo::~TContactMemo()
{
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
            text = view_->Cursor().FieldByName("MEMO").AsString();
            recNo_ = view_->Cursor().RecNo();
        }
    } catch (const std::exception &) {
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
    // Through a cursor of its own: the contacts' current row may have moved on.
    try {
        TDbCursor &row = view_->Reader();
        if (!row.BookmarkValid(recNo_))
            return;
        row.GotoBookmark(recNo_);
        row.Edit();
        row.FieldByName("MEMO").SetAsString(FromQ(memo_->toPlainText()));
        store_.Post(row);
    } catch (const std::exception &e) {
        if (onError_)
            onError_(e.what());
    }
}
