// The telephone from the keyboard: the twelve configurable keys, typed
// digits, and the context menu's shortcuts, matched by hand so that they
// also work from every window that forwards its keys here.
#include "Main.h"
#include "ShortcutWord.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {
constexpr const char *kShortCut = "ShortCut";
}

void SetShortCut(QAction *item, std::uint16_t word) { item->setProperty(kShortCut, word); }

bool TFMain::FindMenuShortcut(QWidget *menu, std::uint16_t word)
{
    bool found = false;
    for (QAction *item : menu->actions()) {
        if (word != 0 && item->property(kShortCut).toUInt() == word && item->isEnabled()) {
            item->trigger();
            found = true;
        }
        // The main menu's shortcuts belong to the panel's focus, not to the keys others pass on.
        if (item->menu() && item->menu() != MainItems_)
            found = FindMenuShortcut(item->menu(), word) || found;
    }
    return found;
}

void TFMain::FormKeyDown(QKeyEvent *key)
{
    const std::uint16_t word = ShortcutWord(key->key(), key->modifiers());
    // A cleared setting (0) is no key: nothing pressed may reach the line through it.
    if (word == 0)
        return;
    const auto &s = Settings;
    if (word == s.KeySPK || word == s.KeySPK2)
        SendSpeakerState(-1);
    else if (word == s.KeyFLASH || word == s.KeyFLASH2)
        SendComm("DIAL", "Num", "F");
    else if (word == s.KeyTRF || word == s.KeyTRF2)
        SendComm("TRF");
    else if (word == s.KeySPD || word == s.KeySPD2)
        SendComm("SPD");
    else if (word == s.KeyVOLUP || word == s.KeyVOLUP2)
        SendComm("VOLUME", "State", "+1");
    else if (word == s.KeyVOLDOWN || word == s.KeyVOLDOWN2)
        SendComm("VOLUME", "State", "-1");
    else
        FindMenuShortcut(PopupMenu1, word);
}

void TFMain::FormKeyPress(QKeyEvent *key)
{
    const QString text = key->text();
    if (!Connected || text.size() != 1)
        return;
    char c = static_cast<char>(text[0].toLatin1());
    if ((c >= '0' && c <= '9') || c == '*' || c == '#')
        SendComm("DIAL", "Num", std::string(1, c));
}

void TFMain::keyPressEvent(QKeyEvent *key)
{
    // The pop-up menu from the keyboard, as every window offers its own.
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
        PopupMenu1->popup(mapToGlobal(rect().center()));
        return;
    }
    // The main menu's own shortcuts take the key while the panel has the focus.
    if (FindMenuShortcut(MainMenu, ShortcutWord(key->key(), key->modifiers())))
        return;
    FormKeyDown(key);
    if (!key->text().isEmpty())
        FormKeyPress(key);
}
