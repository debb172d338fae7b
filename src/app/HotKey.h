#pragma once
// A key field that records the settings file's shortcut words (virtual-key
// code plus the Shift/Ctrl/Alt bits) rather than Qt's key codes.
#include "Vcl.h"

#include <QString>

#include <cstdint>

// "Ctrl+F5", "Num 0", ... for a shortcut word; empty for 0.
QString ShortcutText(std::uint16_t word);

class THotKey : public QLineEdit, public TTagged {
    Q_OBJECT
public:
    explicit THotKey(QWidget *parent = nullptr);
    std::uint16_t HotKey() const { return word_; }
    void SetHotKey(std::uint16_t word);

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    std::uint16_t word_ = 0;
};
