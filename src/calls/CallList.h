#pragma once
// A logged-in window that is one list of calls the user acts on: a click
// shows the caller in the phone book, a double click (with the command
// right) takes the call. The list's mouse reaches the handlers in the class
// library's order: down, click on release, then on a double click the
// double-click handler and a second down, with no second click.
#include "CallSlots.h"
#include "SessionWindow.h"

#include <QListWidget>

#include <functional>
#include <string>
#include <vector>

class TListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
    std::function<void()> OnMouseDown, OnClick, OnDblClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int pressedRow_ = -1;
};

class TCallListWindow : public TSessionWindow {
    Q_OBJECT
public:
    TCallListWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall, int handle);

    void ListBoxClick();
    void ListBoxDblClick();
    virtual void ListBoxMouseDown() {}
    void FormActivate();
    void FormDeactivate();
    std::vector<std::string> Lines() const;

    TListBox *ListBox;
    const int Handle;
    int SavedIndex = -1;
    // Milliseconds of the last press on the list that no click followed; 0 when none.
    long long LastDownTicks = 0;

protected:
    // keepRow: the selected row stays selected (a list whose rows are fixed places).
    void SetLines(const std::vector<std::string> &lines, bool keepRow = false);
    // The caller's number on a row; "" when the row shows no call.
    virtual std::string RowCid(int row) const = 0;
    // The double-click request for a row; the command right is checked.
    virtual void TakeRow(int row) = 0;
    // What a slot shows: the book's name for the number, else the port's
    // name, else the number; a call without a number still shows its port,
    // which is what takes it.
    static std::string SlotText(const std::string &cid, const std::string &pbxName, const std::string &port);
    // Hands one tag of a HOLD or PARK answer to the list; true when its lines
    // are to be shown anew.
    static bool TakeAnswer(TSlotList &list, const std::string &message);
    void changeEvent(QEvent *event) override;

private:
    bool Shows(const std::vector<std::string> &lines) const;
};
