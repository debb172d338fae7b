#include "HotKey.h"

#include "ShortcutWord.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace {

// Keys the dialog keeps for itself when pressed alone: focus moves, OK, Cancel.
bool DialogKey(const QKeyEvent *e)
{
    const int key = e->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return true;
    const bool plain = !(e->modifiers() & ~Qt::KeypadModifier);
    return plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape);
}

// The Qt key whose virtual-key code is vk, searched over the printable and
// the special key ranges; 0 when none maps to it. Where two keys share a
// code the later one names it ("." rather than "," for the pad's decimal).
int QtKeyOf(int vk, bool keypad)
{
    for (int k = Qt::Key_ydiaeresis; k >= Qt::Key_Space; --k)
        if (VirtualKeyOf(k, keypad) == vk)
            return k;
    for (int k = Qt::Key_Escape + 0xFF; k >= Qt::Key_Escape; --k)
        if (VirtualKeyOf(k, keypad) == vk)
            return k;
    return 0;
}

} // namespace

QString ShortcutText(std::uint16_t word)
{
    const int vk = word & 0xFF;
    if (vk == 0)
        return {};
    QString name;
    if (int k = QtKeyOf(vk, false))
        name = QKeySequence(k).toString(QKeySequence::PortableText);
    else if (int pad = QtKeyOf(vk, true))
        name = "Num " + QKeySequence(pad).toString(QKeySequence::PortableText);
    else
        name = QString("#%1").arg(vk);
    QString mods;
    if (word & kCtrlBit)
        mods += "Ctrl+";
    if (word & kShiftBit)
        mods += "Shift+";
    if (word & kAltBit)
        mods += "Alt+";
    return mods + name;
}

THotKey::THotKey(QWidget *parent) : QLineEdit(parent)
{
    // Typed text never reaches the field: it only shows the recorded key.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void THotKey::SetHotKey(std::uint16_t word)
{
    word_ = word;
    setText(ShortcutText(word));
}

bool THotKey::event(QEvent *e)
{
    // Keys that would be shortcuts (Alt+letter) belong to the field while it
    // has the focus.
    if (e->type() == QEvent::ShortcutOverride && !DialogKey(static_cast<QKeyEvent *>(e))) {
        e->accept();
        return true;
    }
    return QLineEdit::event(e);
}

void THotKey::keyPressEvent(QKeyEvent *e)
{
    if (DialogKey(e)) {
        e->ignore();
        return;
    }
    e->accept();
    const int key = e->key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta)
        return;
    if (key == Qt::Key_Backspace && !(e->modifiers() & ~Qt::KeypadModifier)) {
        SetHotKey(0);
        return;
    }
    const std::uint16_t word = ShortcutWord(key, e->modifiers());
    if (word & 0xFF)
        SetHotKey(word);
}
