#include "ShortcutWord.h"

namespace {

struct Pair {
    int qt, vk;
};

constexpr Pair kPad[] = {{Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
                         {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
                         {Qt::Key_Enter, 13}};

constexpr Pair kMain[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},         {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},     {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},  {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},  {Qt::Key_End, 35},        {Qt::Key_Home, 36},     {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},        {Qt::Key_Right, 39},      {Qt::Key_Down, 40},     {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},    {Qt::Key_Delete, 46},     {Qt::Key_Asterisk, 106}, {Qt::Key_Semicolon, 186},
    {Qt::Key_Plus, 187},     {Qt::Key_Equal, 187},     {Qt::Key_Comma, 188},   {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},   {Qt::Key_Slash, 191},     {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};

int Find(const Pair *begin, const Pair *end, int key)
{
    for (const Pair *p = begin; p != end; ++p)
        if (p->qt == key)
            return p->vk;
    return 0;
}

} // namespace

int VirtualKeyOf(int key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 96 + (key - Qt::Key_0);
        if (int vk = Find(std::begin(kPad), std::end(kPad), key))
            return vk;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // the same codes as the ASCII capitals and digits
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    return Find(std::begin(kMain), std::end(kMain), key);
}

std::uint16_t ShortcutWord(int key, Qt::KeyboardModifiers modifiers)
{
    auto word = static_cast<std::uint16_t>(VirtualKeyOf(key, modifiers & Qt::KeypadModifier) & 0xFF);
    if (word == 0)
        return 0;
    if (modifiers & Qt::ShiftModifier)
        word |= kShiftBit;
    if (modifiers & Qt::ControlModifier)
        word |= kCtrlBit;
    if (modifiers & Qt::AltModifier)
        word |= kAltBit;
    return word;
}
