#pragma once
// Data-aware pieces beside the grid: a navigator that works a TDbView, and
// edits, memos, check boxes and radio groups bound to fields of a cursor.
#include "Vcl.h"

#include <functional>
#include <string>
#include <vector>

class TDbCursor;
class TDbView;

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };

// Drives a TDBNavigator's buttons: moves, insert (append state), edit
// state, delete after a confirmation; then tells the owner which button ran.
class TDbNavigatorLink : public QObject {
    Q_OBJECT
public:
    TDbNavigatorLink(TDBNavigator *navigator, TDbView *view);
    ~TDbNavigatorLink() override;
    void SetView(TDbView *view);
    TDbView *View() const { return view_; }
    TDBNavigator *Navigator() const { return navigator_; }
    // Presses a button as the user would.
    void Click(TNavigateBtn button);
    void UpdateButtons();

    // Asked before a delete; the default asks the user.
    std::function<bool()> ConfirmDelete;
    // Deletes the current row (the owner's cascade and post path).
    std::function<void()> Delete;
    // After a button did its work (insert and edit: the row is in its state).
    std::function<void(TNavigateBtn)> OnClick;
    // Runs each press; the owner readies what the press relies on first.
    std::function<void(const std::function<void()> &press)> Around;
    // A button whose move or edit the table refused (a damaged or vanished
    // file); without it the error goes on to the caller.
    std::function<void(const std::string &)> OnError;

private:
    void Press(TNavigateBtn button);
    TDBNavigator *navigator_;
    TDbView *view_ = nullptr;
    int observer_ = 0;
};

// Controls bound to fields of the current row: Load fills them, Store puts
// what the user changed into the row's buffer (the cursor in edit or insert).
// A control left as it was filled leaves its field alone: the row keeps its
// bytes exactly, and another program's change to that field is not undone.
class TDbFieldLinks {
public:
    // width: characters the edit takes when narrower than the column (0: the column's).
    void Edit(QLineEdit *edit, const std::string &field, int width = 0);
    void Memo(QPlainTextEdit *memo, const std::string &field);
    void Check(QCheckBox *check, const std::string &field);
    // Items store values[i].
    void Radio(TRadioGroup *group, const std::string &field, const std::vector<std::string> &values);
    void Load(TDbCursor &row);
    void Store(TDbCursor &row) const;
    // The bound controls, in the order they were bound.
    std::vector<QWidget *> Controls() const;

private:
    struct TLink {
        QWidget *Control;
        std::string Field;
        std::vector<std::string> Values;
        int Width = 0;
        std::string Shown; // the control's value as Load left it
    };
    static std::string ValueOf(const TLink &link);
    std::vector<TLink> links_;
};
