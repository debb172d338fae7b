#pragma once
// Base of the history, accounting and event-log windows: a toolbar of filter
// buttons over a grid of a remote table. Each window adds its buttons, its
// filter conditions and what a row does.
#include "RemoteGrid.h"
#include "RemoteTable.h"
#include "RemoteTableModel.h"
#include "Receivers.h"
#include "SessionWindow.h"


#include <string>
#include <vector>

class TRemoteView : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    // type: "HIST", "ACC" or "LOG"; names: the phone-book column works.
    TRemoteView(QWidget *owner, const std::string &type, const std::string &section, PlacementKeys keys, bool canCall,
                bool names);
    ~TRemoteView() override;

    void ProcessAnswer(const std::string &answer) override;
    void SendFilter();
    void Translate() override;
    // The selected row's number in the phone book; a double click offers to add it.
    virtual void StringGrid1Click();
    void StringGrid1DblClick();
    // The button states and columns back to the INI file.
    void SaveDateSettings();

    TToolBar *ToolBar1;
    TRemoteGrid *StringGrid1;
    TSpeedButton *SpeedButtonDay = nullptr, *SpeedButtonWeek = nullptr, *SpeedButtonMonth = nullptr;
    TRemoteTable Table;
    TRemoteTableModel *Model;
    bool Busy = false;
    std::string SelNumber;

    // The filter conditions in the window's order; "" for those that don't apply.
    virtual std::vector<std::string> Conditions() const = 0;
    std::vector<std::string> DateConditions() const;

protected:
    // The call lists' buttons carry hint ids of their own (306xx, besides 506):
    // the phone book's buttons hold 500-505, 510 and 1005, and a key holds one text.
    TSpeedButton *AddButton(int tag, const char *glyph, const char *hint);
    // A button that stays down; at most one of a group is down, all may be up.
    TSpeedButton *AddFilterButton(int tag, const char *glyph, const char *hint, int group);
    // A toolbar button shown or hidden (the toolbar owns its widgets' visibility).
    void ShowButton(TSpeedButton *button, bool visible);
    // Down pops the other buttons of its group up.
    void SetDown(TSpeedButton *button, bool down);
    // Day, Week and Month.
    void AddDateButtons();
    // Loads the column definitions (section `listSection`) and lays out the shown columns.
    void LoadColumns(const TIniFile &ini, const std::vector<TRemoteColumnDef> &defaults, bool overlay, int shown);
    void SaveColumns(TIniFile &ini) const;
    void ReadDateButtons(const TIniFile &ini);
    void WriteDateButtons(TIniFile &ini) const;
    // Text stored for a row under the column of a field; "" without that column.
    std::string RowField(int row, const std::string &field) const;
    virtual void RowSelected(int row) {}

    std::string type_;
    std::string settings_;
    std::string listSection_;

private:
    void ApplyColumns();
    // Default widths fitted to the grid's font and the columns' titles.
    void FitColumns();
    std::vector<int> fitted_; // by grid column: the width fitted, 0 for none
    std::vector<std::pair<TSpeedButton *, int>> groups_;
};
