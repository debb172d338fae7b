// The translation walk: every control's texts from the language file, keyed
// by its Tag, one rule per exact class name.
#include "Fce.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Vcl.h"

#include <QMenu>
#include <QMenuBar>

#include <climits>
#include <cstring>

namespace {

const char *const kCommon = "Common";
const char *const kCommonHint = "CommonHint";

std::string Key(long long id) { return std::to_string(id); }

std::string Plain(TIniFile *f, const char *section, long long id, const std::string &def)
{
    return f->ReadString(section, Key(id), def);
}

std::string Escaped(TIniFile *f, const char *section, long long id, const std::string &def)
{
    return TNlsFunc::ReplaceEscape(Plain(f, section, id, def), "\\n", "\r\n");
}

bool Is(const QWidget *w, const char *name) { return std::strcmp(w->metaObject()->className(), name) == 0; }

template <typename... Names> bool IsAny(const QWidget *w, Names... names) { return (Is(w, names) || ...); }

// The controls directly inside a control, as the form designer sees them.
QList<QWidget *> ControlChildren(QWidget *w)
{
    QList<QWidget *> out;
    if (auto *pages = qobject_cast<QTabWidget *>(w)) {
        for (int i = 0; i < pages->count(); ++i)
            out << pages->widget(i);
        return out;
    }
    QWidget *holder = w;
    if (auto *box = qobject_cast<QScrollArea *>(w); box && box->widget())
        holder = box->widget();
    for (QWidget *c : holder->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (!c->isWindow() && !IsInternal(c))
            out << c;
    return out;
}

void SetHint(QWidget *w, TIniFile *f, long long id) { SetHintOf(w, Escaped(f, kCommonHint, id, HintOf(w))); }

void NavigatorHints(TDBNavigator *nav, TIniFile *f)
{
    std::vector<std::string> hints;
    for (int i = 0; i < TDBNavigator::kButtons; ++i)
        hints.push_back(Plain(f, kCommonHint, static_cast<long long>(nav->Tag) + i, ""));
    nav->SetHints(hints);
}

void TabControlHint(TTabControl *tc, TIniFile *f)
{
    SetHintOf(tc, TNlsFunc::KeepAfterColon(HintOf(tc), Escaped(f, kCommonHint, tc->Tag, HintOf(tc))));
}

template <typename Captioned> void CaptionPlain(Captioned *c, TIniFile *f)
{
    c->SetCaption(Plain(f, kCommon, c->Tag, c->Caption()));
}

template <typename Captioned> void CaptionEscaped(Captioned *c, TIniFile *f)
{
    c->SetCaption(Escaped(f, kCommon, c->Tag, c->Caption()));
}

void ComboItems(TComboBox *cb, TIniFile *f)
{
    int index = cb->ItemIndex();
    long long base = f->ReadInteger(kCommon, Key(cb->Tag), -1);
    if (base == -1)
        base = cb->Tag;
    for (int i = 0; i < cb->count(); ++i) {
        long long id = base * 100 + i;
        // Out of the id range counts as an absent key.
        if (id < INT_MIN || id > INT_MAX)
            continue;
        cb->SetItem(i, Escaped(f, kCommon, id, cb->Item(i)));
    }
    cb->SetItemIndex(index);
}

} // namespace

std::string TNlsFunc::KeepAfterColon(const std::string &current, const std::string &translated)
{
    size_t p = current.find(':');
    if (p == std::string::npos)
        return current;
    return translated + current.substr(p, 1000);
}

void TNlsFunc::TranslateControl(TIniFile *f, QWidget *c)
{
    const int tag = TagOf(c);
    if (IsAny(c, "TPanel", "TToolBar", "TPageControl")) {
        for (QWidget *child : ControlChildren(c))
            TranslateControl(f, child);
        return;
    }
    if (Is(c, "TTabSheet") || Is(c, "TGroupBox")) {
        if (auto *s = qobject_cast<TTabSheet *>(c))
            CaptionPlain(s, f);
        else
            CaptionPlain(static_cast<TGroupBox *>(c), f);
        for (QWidget *child : ControlChildren(c))
            TranslateControl(f, child);
        return;
    }
    if (tag == 0)
        return;
    if (Is(c, "TLabel")) {
        CaptionEscaped(static_cast<TLabel *>(c), f);
    } else if (Is(c, "TStaticText")) {
        CaptionPlain(static_cast<TLabel *>(c), f);
    } else if (IsAny(c, "TSpeedButton", "TCSpinEdit", "TEdit")) {
        SetHint(c, f, tag);
    } else if (Is(c, "TRadioButton")) {
        CaptionPlain(static_cast<TRadioButton *>(c), f);
        SetHint(c, f, tag);
    } else if (Is(c, "TButton") || Is(c, "TBitBtn")) {
        auto *b = static_cast<QPushButton *>(c);
        b->setText(ToQ(Plain(f, kCommon, tag, FromQ(b->text()))));
        SetHint(c, f, tag);
    } else if (Is(c, "TImage")) {
        SetHint(c, f, static_cast<long long>(tag) + 10000);
    } else if (Is(c, "TMemo")) {
        auto *m = static_cast<TMemo *>(c);
        std::vector<std::string> lines = m->Lines();
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = Plain(f, kCommon, static_cast<long long>(tag) + static_cast<long long>(i), lines[i]);
        m->SetLines(lines);
    } else if (IsAny(c, "TRadioGroup", "TDBRadioGroup")) {
        auto *g = static_cast<TRadioGroup *>(c);
        CaptionPlain(g, f);
        SetHint(c, f, tag);
        for (int i = 0; i < g->Count(); ++i)
            g->SetItem(i, Plain(f, kCommon, static_cast<long long>(tag) + 1 + i, g->Item(i)));
    } else if (Is(c, "TComboBox")) {
        SetHint(c, f, tag);
        ComboItems(static_cast<TComboBox *>(c), f);
    } else if (Is(c, "TTabControl")) {
        auto *tc = static_cast<TTabControl *>(c);
        TabControlHint(tc, f);
        int index = tc->TabIndex();
        for (int i = 0; i < tc->Count(); ++i)
            tc->SetTab(i, Plain(f, kCommon, static_cast<long long>(tag) + i, tc->Tab(i)));
        tc->SetTabIndex(index);
        for (QWidget *child : ControlChildren(c))
            TranslateControl(f, child);
    } else if (Is(c, "TCheckBox") || Is(c, "TDBCheckBox")) {
        auto *b = static_cast<QCheckBox *>(c);
        b->setText(ToQ(Escaped(f, kCommon, tag, FromQ(b->text()))));
        SetHint(c, f, tag);
    } else if (Is(c, "TDBGrid")) {
        auto *g = static_cast<TDBGrid *>(c);
        for (size_t i = 0; i < g->Columns.size(); ++i) {
            std::string key = Key(tag) + ":" + g->Columns[i].FieldName;
            g->SetColumnTitle(i, f->ReadString(kCommon, key, g->Columns[i].Title));
        }
    } else if (Is(c, "TStringGrid")) {
        auto *g = static_cast<TStringGrid *>(c);
        for (int col = 1; col < g->ColCount(); ++col)
            g->SetCell(col, 0, Plain(f, kCommon, g->Object(col, 0), g->Cell(col, 0)));
    } else if (Is(c, "TDBNavigator")) {
        NavigatorHints(static_cast<TDBNavigator *>(c), f);
    }
}

void TNlsFunc::TranslateControlHint(TIniFile *f, QWidget *c)
{
    const int tag = TagOf(c);
    if (IsAny(c, "TPanel", "TToolBar", "TPageControl", "TTabSheet", "TGroupBox")) {
        for (QWidget *child : ControlChildren(c))
            TranslateControlHint(f, child);
        return;
    }
    if (tag == 0)
        return;
    if (IsAny(c, "TSpeedButton", "TRadioButton", "TButton", "TRadioGroup", "TDBRadioGroup", "TComboBox", "TBitBtn",
              "TCSpinEdit", "TEdit", "TCheckBox", "TDBCheckBox")) {
        SetHint(c, f, tag);
    } else if (Is(c, "TImage")) {
        SetHint(c, f, static_cast<long long>(tag) + 10000);
    } else if (Is(c, "TTabControl")) {
        TabControlHint(static_cast<TTabControl *>(c), f);
        for (QWidget *child : ControlChildren(c))
            TranslateControlHint(f, child);
    } else if (Is(c, "TDBNavigator")) {
        NavigatorHints(static_cast<TDBNavigator *>(c), f);
    }
}

namespace {

using Walk = void (TNlsFunc::*)(TIniFile *, QWidget *);

void WalkForm(TNlsFunc *nls, TIniFile *f, QWidget *form, Walk walk)
{
    for (QWidget *c : ControlChildren(form)) {
        if (IsAny(c, "TPanel", "TPageControl", "TToolBar")) {
            for (QWidget *child : ControlChildren(c))
                (nls->*walk)(f, child);
        } else if (IsAny(c, "TGroupBox", "TTabControl", "TScrollBox")) {
            (nls->*walk)(f, c);
            // The designer's walk visits these children a second time; it
            // reads the same keys and changes nothing.
            for (QWidget *child : ControlChildren(c))
                (nls->*walk)(f, child);
        } else {
            (nls->*walk)(f, c);
        }
    }
}

} // namespace

void TNlsFunc::TranslateForm(QWidget *form, bool openClose)
{
    if (openClose)
        OpenFile();
    if (TIniFile *f = File()) {
        form->setWindowTitle(ToQ(Plain(f, kCommon, TagOf(form), FromQ(form->windowTitle()))));
        WalkForm(this, f, form, &TNlsFunc::TranslateControl);
    }
    if (openClose)
        CloseFile();
}

void TNlsFunc::TranslateHints(QWidget *form, bool openClose)
{
    if (openClose)
        OpenFile();
    if (TIniFile *f = File())
        WalkForm(this, f, form, &TNlsFunc::TranslateControlHint);
    if (openClose)
        CloseFile();
}

void TNlsFunc::TranslateMenu(QWidget *menu)
{
    TIniFile *f = File();
    if (!f || !menu)
        return;
    for (QAction *item : menu->actions()) {
        if (int tag = TagOf(item)) {
            item->setText(ToQ(Plain(f, "Menu", tag, FromQ(item->text()))));
            item->setStatusTip(ToQ(Plain(f, "MenuHint", tag, FromQ(item->statusTip()))));
        }
        if (item->menu())
            TranslateMenu(item->menu());
    }
}
