#pragma once
// A memo bound to MEMO of a view's current contact. What the user types is
// stored into the contact it was shown for when the memo loses the focus,
// when another contact becomes current and when the binding ends.
#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class TDbView;
class TMemo;
class TPhoneBookStore;

class TContactMemo : public QObject {
    Q_OBJECT
public:
    TContactMemo(TMemo *memo, TDbView *view, TPhoneBookStore &store,
                 std::function<void(const std::string &)> onError);
    ~TContactMemo() override;
    // Stores what was typed, then shows the current contact's memo.
    void Show();
    void Save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TMemo *memo_;
    TDbView *view_;
    TPhoneBookStore &store_;
    std::function<void(const std::string &)> onError_;
    int observer_ = 0;
    uint32_t recNo_ = 0;
};
