#include "DbControls.h"

#include "DbView.h"
#include "Nlsfunc.h"

#include <QMessageBox>
#include <QToolButton>

TDbNavigatorLink::TDbNavigatorLink(TDBNavigator *navigator, TDbView *view)
    : QObject(navigator), navigator_(navigator)
{
    auto buttons = navigator->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        buttons[i]->setVisible(i <= nbEdit); // post, cancel and refresh are not shown
        connect(buttons[i], &QToolButton::clicked, this, [this, i] { Click(static_cast<TNavigateBtn>(i)); });
    }
    ConfirmDelete = [this] {
        std::string text = Nls ? Nls->GetText(2020) : std::string();
        return QMessageBox::question(navigator_->window(), QString(), ToQ(text.empty() ? "Delete record?" : text))
               == QMessageBox::Yes;
    };
    SetView(view);
}

TDbNavigatorLink::~TDbNavigatorLink()
{
    SetView(nullptr);
}

void TDbNavigatorLink::SetView(TDbView *view)
{
    if (view_)
        view_->RemoveObserver(observer_);
    view_ = view;
    observer_ = view ? view->AddObserver([this](bool) { UpdateButtons(); }) : 0;
    UpdateButtons();
}

void TDbNavigatorLink::UpdateButtons()
{
    auto buttons = navigator_->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    const bool any = view_ && view_->HasRow();
    const int row = view_ ? view_->Row() : -1;
    const int count = view_ ? view_->Count() : 0;
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        bool on = view_ != nullptr;
        switch (i) {
        case nbFirst:
        case nbPrior: on = any && row > 0; break;
        case nbNext:
        case nbLast: on = any && row + 1 < count; break;
        case nbDelete:
        case nbEdit: on = any; break;
        default: break;
        }
        buttons[i]->setEnabled(on);
    }
}

void TDbNavigatorLink::Click(TNavigateBtn button)
{
    if (!view_ || !navigator_->isEnabled())
        return;
    if (Around)
        Around([this, button] { Press(button); });
    else
        Press(button);
}

void TDbNavigatorLink::Press(TNavigateBtn button)
{
    TDbCursor &c = view_->Cursor();
    try {
        switch (button) {
        case nbFirst: view_->First(); break;
        case nbPrior: view_->Prior(); break;
        case nbNext: view_->Next(); break;
        case nbLast: view_->Last(); break;
        case nbInsert: c.Append(); break;
        case nbEdit:
            if (!view_->HasRow())
                return;
            c.Edit();
            break;
        case nbDelete:
            if (!view_->HasRow() || (ConfirmDelete && !ConfirmDelete()))
                return;
            if (Delete)
                Delete();
            break;
        default: return;
        }
    } catch (const std::exception &e) {
        if (!OnError)
            throw;
        OnError(e.what());
        UpdateButtons();
        return;
    }
    UpdateButtons();
    if (OnClick)
        OnClick(button);
}

void TDbFieldLinks::Edit(QLineEdit *edit, const std::string &field, int width)
{
    links_.push_back({edit, field, {}, width, {}});
}
void TDbFieldLinks::Memo(QPlainTextEdit *memo, const std::string &field) { links_.push_back({memo, field, {}, 0, {}}); }
void TDbFieldLinks::Check(QCheckBox *check, const std::string &field) { links_.push_back({check, field, {}, 0, {}}); }

void TDbFieldLinks::Radio(TRadioGroup *group, const std::string &field, const std::vector<std::string> &values)
{
    links_.push_back({group, field, values, 0, {}});
}

// What the control holds, in one text for comparing.
std::string TDbFieldLinks::ValueOf(const TLink &l)
{
    if (auto *e = qobject_cast<QLineEdit *>(l.Control))
        return FromQ(e->text());
    if (auto *m = qobject_cast<QPlainTextEdit *>(l.Control))
        return FromQ(m->toPlainText());
    if (auto *c = qobject_cast<QCheckBox *>(l.Control))
        return c->isChecked() ? "T" : "F";
    if (auto *g = dynamic_cast<TRadioGroup *>(l.Control))
        return std::to_string(g->ItemIndex());
    return {};
}

void TDbFieldLinks::Load(TDbCursor &row)
{
    for (TLink &l : links_) {
        if (!row.HasField(l.Field))
            continue;
        TDbField f = row.FieldByName(l.Field);
        if (auto *e = qobject_cast<QLineEdit *>(l.Control)) {
            e->setMaxLength(l.Width > 0 ? l.Width : f.Size() > 0 && f.DataType() == 'C' ? f.Size() : 32767);
            e->setText(ToQ(f.AsString()));
        } else if (auto *m = qobject_cast<QPlainTextEdit *>(l.Control)) {
            m->setPlainText(ToQ(f.AsString()));
        } else if (auto *c = qobject_cast<QCheckBox *>(l.Control)) {
            c->setChecked(f.AsBoolean());
        } else if (auto *g = dynamic_cast<TRadioGroup *>(l.Control)) {
            int chosen = -1;
            for (size_t i = 0; i < l.Values.size(); ++i)
                if (f.AsString() == l.Values[i])
                    chosen = static_cast<int>(i);
            g->SetItemIndex(chosen);
        }
        l.Shown = ValueOf(l);
    }
}

void TDbFieldLinks::Store(TDbCursor &row) const
{
    for (const TLink &l : links_) {
        if (!row.HasField(l.Field) || ValueOf(l) == l.Shown)
            continue;
        TDbField f = row.FieldByName(l.Field);
        if (auto *e = qobject_cast<QLineEdit *>(l.Control)) {
            f.SetAsString(FromQ(e->text()));
        } else if (auto *m = qobject_cast<QPlainTextEdit *>(l.Control)) {
            f.SetAsString(FromQ(m->toPlainText()));
        } else if (auto *c = qobject_cast<QCheckBox *>(l.Control)) {
            f.SetAsBoolean(c->isChecked());
        } else if (auto *g = dynamic_cast<TRadioGroup *>(l.Control)) {
            int i = g->ItemIndex();
            if (i >= 0 && static_cast<size_t>(i) < l.Values.size())
                f.SetAsString(l.Values[static_cast<size_t>(i)]);
        }
    }
}

std::vector<QWidget *> TDbFieldLinks::Controls() const
{
    std::vector<QWidget *> controls;
    for (const TLink &l : links_)
        controls.push_back(l.Control);
    return controls;
}
