#pragma once
#include "Vcl.h"

#include <memory>
#include <string>

class TIniFile;
class TPhoneBookStore;

// The phone-book window.
class TFDbf : public TForm {
    Q_OBJECT
public:
    explicit TFDbf(QWidget *parent = nullptr);
    ~TFDbf() override;
    void Translate(bool rebuildKeys);
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    bool TablesOpen() const;
    // The tables, their lookup cursors, DatabaseDir and the ID counters.
    TPhoneBookStore &Store() { return *store_; }

    // The caller's name for a number: an empty number gives "", a number not
    // in the book the default. separator '\n' gives the two-line form, '('
    // the one-line form.
    void FindNameByNumber(const std::string &number, const std::string &defaultName, std::string &name,
                          char separator) const;
    void ShowNumber(const std::string &number, bool offerToAdd);
    void SetLineState(const std::string &state);
    void SetConnected(int handle, bool canCall);

    int LoginHandle = -1;
    bool CanCall = false;
    std::string LineState;

private:
    std::unique_ptr<TPhoneBookStore> store_;
};

extern TFDbf *FDbf;
