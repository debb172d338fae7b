#pragma once
// A memo bound to MEMO of a view's current contact. In the window what the
// user types is stored into the contact it was shown for when the memo loses
// the focus, when another contact becomes current and when the binding ends.
// In an edit dialog it is held, per contact, until the dialog's OK stores it
// (Commit); Cancel, the binding ending without it, drops it. The window has
// no OK to refuse text code page 1250 cannot hold: such characters are taken
// out as they come, and the user told which.
#include "DbTypes.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// A note typed for a contact that another program deleted meanwhile:
// nothing was stored, and the text is given back to be shown.
class EContactGone : public EDbRecordGone {
public:
    EContactGone(const std::string &what, std::string note) : EDbRecordGone(what), Note(std::move(note)) {}
    std::string Note;
};

class TDbView;
class TMemo;
class TPhoneBookStore;
class QWidget;

class TContactMemo : public QObject {
    Q_OBJECT
public:
    TContactMemo(TMemo *memo, TDbView *view, TPhoneBookStore &store,
                 std::function<void(const std::exception &)> onError, bool held = false);
    ~TContactMemo() override;
    // Stores (or holds) what was typed, then shows the current contact's memo.
    void Show();
    void Save();
    // Held: what was typed for the contact of recNo; false when nothing is.
    bool Held(uint32_t recNo, std::string &text) const;
    void Forget(uint32_t recNo) { held_.erase(recNo); }
    // Stores every held text into its contact (for one deleted meanwhile the user is told).
    void Commit();
    // A held text that code page 1250 cannot keep: its contact is shown, the
    // user told which characters, and true returned (nothing is stored).
    bool RefuseUnkept(QWidget *owner);
    bool RefuseUnkept(QWidget *owner, uint32_t recNo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Store(uint32_t recNo, const std::string &text);
    void DropUnkept();

    TMemo *memo_;
    TDbView *view_;
    TPhoneBookStore &store_;
    std::function<void(const std::exception &)> onError_;
    int observer_ = 0;
    uint32_t recNo_ = 0;
    bool holding_;
    bool dropping_ = false;
    std::map<uint32_t, QString> held_; // as typed: the check needs what FromQ would lose
};
