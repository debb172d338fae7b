#include "Vcl.h"

#include <QHeaderView>
#include <QHBoxLayout>
#include <QPainter>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr const char *kTagProperty = "Tag";
constexpr const char *kInternalProperty = "talvoInternal";
} // namespace

int TagOf(const QObject *o)
{
    if (auto *t = dynamic_cast<const TTagged *>(o))
        return t->Tag;
    return 0;
}

void SetTag(QAction *item, int tag) { item->setProperty(kTagProperty, tag); }
int TagOf(const QAction *item) { return item->property(kTagProperty).toInt(); }

std::string HintOf(const QWidget *w) { return FromQ(w->toolTip()); }
void SetHintOf(QWidget *w, const std::string &hint) { w->setToolTip(ToQ(hint)); }
void MarkInternal(QWidget *w) { w->setProperty(kInternalProperty, true); }
bool IsInternal(const QWidget *w) { return w->property(kInternalProperty).toBool(); }

TSpeedButton *AddGlyphButton(QToolBar *bar, int tag, const char *glyph, const std::string &hint)
{
    auto *b = new TSpeedButton(bar);
    b->Tag = tag;
    b->setText(QString::fromUtf8(glyph));
    SetHintOf(b, hint);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}

TForm::TForm(QWidget *parent) : QWidget(parent, parent ? Qt::Window : Qt::WindowFlags()) {}
std::string TForm::Caption() const { return FromQ(windowTitle()); }
void TForm::SetCaption(const std::string &c) { setWindowTitle(ToQ(c)); }

TLabel::TLabel(QWidget *parent) : QLabel(parent)
{
    // A name beginning with '<' must never be read as rich text.
    setTextFormat(Qt::PlainText);
}
std::string TLabel::Caption() const { return later_.Pending() ? *later_.Pending() : FromQ(text()); }

void TLabel::SetCaptionLater(const std::string &c)
{
    later_.Set(this, c, [this](const std::string &last) { setText(ToQ(last)); });
}

QPixmap TImage::Picture() const { return later_.Pending() ? *later_.Pending() : pixmap(); }

void TImage::SetPicture(const QPixmap &picture)
{
    later_.Cancel();
    if (picture.isNull())
        clear();
    else
        setPixmap(picture);
}

void TImage::SetPictureLater(const QPixmap &picture)
{
    later_.Set(this, picture, [this](const QPixmap &last) { last.isNull() ? clear() : setPixmap(last); });
}

void TLabel::paintEvent(QPaintEvent *event)
{
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QFontMetrics metrics = fontMetrics();
    QStringList lines = text().split(QLatin1Char('\n'));
    bool fits = true;
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        fits = fits && metrics.horizontalAdvance(line) <= area.width();
    }
    if (fits || wordWrap() || textFormat() != Qt::PlainText) {
        QLabel::paintEvent(event);
        return;
    }
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, area.width());
    QPainter painter(this);
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), lines.join(QLatin1Char('\n')), foregroundRole());
}
void TLabel::SetCaption(const std::string &c)
{
    later_.Cancel();
    setText(ToQ(c));
}

std::string TEdit::Text() const { return FromQ(text()); }
void TEdit::SetText(const std::string &t) { setText(ToQ(t)); }

std::string TComboBox::Item(int i) const { return FromQ(itemText(i)); }
void TComboBox::SetItem(int i, const std::string &t) { setItemText(i, ToQ(t)); }
void TComboBox::AddItem(const std::string &t) { addItem(ToQ(t)); }

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent) { new QVBoxLayout(this); }
std::string TRadioGroup::Caption() const { return FromQ(title()); }
void TRadioGroup::SetCaption(const std::string &c) { setTitle(ToQ(c)); }
std::string TRadioGroup::Item(int i) const { return FromQ(buttons_.at(static_cast<size_t>(i))->text()); }
void TRadioGroup::SetItem(int i, const std::string &t) { buttons_.at(static_cast<size_t>(i))->setText(ToQ(t)); }

void TRadioGroup::AddItem(const std::string &t)
{
    auto *b = new QRadioButton(ToQ(t), this);
    MarkInternal(b);
    layout()->addWidget(b);
    buttons_.push_back(b);
}

int TRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int i)
{
    if (i >= 0 && i < Count())
        buttons_[static_cast<size_t>(i)]->setChecked(true);
}

void TTabSheet::SetCaption(const std::string &c)
{
    caption_ = c;
    for (QWidget *p = parentWidget(); p; p = p->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(p)) {
            int i = tabs->indexOf(this);
            if (i >= 0)
                tabs->setTabText(i, ToQ(c));
            break;
        }
}

TTabSheet *TPageControl::AddPage(const std::string &caption)
{
    auto *page = new TTabSheet;
    addTab(page, ToQ(caption));
    page->SetCaption(caption);
    return page;
}

TTabControl::TTabControl(QWidget *parent) : QWidget(parent), tabs_(new QTabBar(this))
{
    MarkInternal(tabs_);
}
std::string TTabControl::Tab(int i) const { return FromQ(tabs_->tabText(i)); }
void TTabControl::SetTab(int i, const std::string &t) { tabs_->setTabText(i, ToQ(t)); }
void TTabControl::AddTab(const std::string &t) { tabs_->addTab(ToQ(t)); }

std::vector<std::string> TMemo::Lines() const
{
    std::vector<std::string> lines;
    if (toPlainText().isEmpty())
        return lines;
    for (const QString &l : toPlainText().split(QLatin1Char('\n')))
        lines.push_back(FromQ(l));
    return lines;
}

void TMemo::SetLines(const std::vector<std::string> &lines)
{
    QStringList l;
    for (const auto &s : lines)
        l << ToQ(s);
    setPlainText(l.join(QLatin1Char('\n')));
}

std::string TStringGrid::Cell(int col, int row) const
{
    QTableWidgetItem *it = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return it ? FromQ(it->text()) : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string &t)
{
    if (row == 0) {
        setHorizontalHeaderItem(col, new QTableWidgetItem(ToQ(t)));
        return;
    }
    if (rowCount() < row)
        setRowCount(row);
    setItem(row - 1, col, new QTableWidgetItem(ToQ(t)));
}

int TStringGrid::Object(int col, int row) const
{
    auto it = objects_.find({col, row});
    return it == objects_.end() ? 0 : it->second;
}

void TStringGrid::SetObject(int col, int row, int value) { objects_[{col, row}] = value; }

void TDBGrid::SetColumnTitle(size_t i, const std::string &title)
{
    if (i >= Columns.size())
        return;
    Columns[i].Title = title;
    if (model())
        model()->setHeaderData(static_cast<int>(i), Qt::Horizontal, ToQ(title));
}

TDBNavigator::TDBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    static const char *const kGlyphs[kButtons] = {"|<", "<", ">", ">|", "+", "-", "^", "\u2713", "x", "\u21bb"};
    for (const char *g : kGlyphs) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromUtf8(g));
        MarkInternal(b);
        row->addWidget(b);
        buttons_.push_back(b);
    }
}

void TDBNavigator::SetHints(const std::vector<std::string> &hints)
{
    hints_ = hints;
    for (size_t i = 0; i < buttons_.size(); ++i)
        SetHintOf(buttons_[i], i < hints_.size() ? hints_[i] : std::string());
}

TScrollBox::TScrollBox(QWidget *parent) : QScrollArea(parent)
{
    setWidget(new QWidget);
    setWidgetResizable(true);
}
