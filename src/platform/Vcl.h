#pragma once
// The thin widget vocabulary the forms are built from: each class is a Qt
// widget carrying the Tag (its text id) and Caption/Hint as code page 1250
// bytes. The translation walk matches them by exact class name, so each has
// Q_OBJECT and a subclass (TDBGridEx) reports a name of its own.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "Cp1250.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class TTagged {
public:
    virtual ~TTagged() = default;
    int Tag = 0;
};

// Tag of a control or form; 0 for anything that carries none.
int TagOf(const QObject *o);
// Menu items (actions) carry their tag as a property.
void SetTag(QAction *item, int tag);
int TagOf(const QAction *item);

std::string HintOf(const QWidget *w);
void SetHintOf(QWidget *w, const std::string &hint);
// Internal parts of a control (a tab control's tab bar) are not controls of their own.
void MarkInternal(QWidget *w);
bool IsInternal(const QWidget *w);

class TForm : public QWidget, public TTagged {
    Q_OBJECT
public:
    explicit TForm(QWidget *parent = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string &c);
};

// A form shown modally; OK and Cancel buttons close it with their result.
class TDialog : public QDialog, public TTagged {
    Q_OBJECT
public:
    explicit TDialog(QWidget *parent = nullptr) : QDialog(parent) {}
    std::string Caption() const { return FromQ(windowTitle()); }
    void SetCaption(const std::string &c) { setWindowTitle(ToQ(c)); }
};

// Content that changes many times in one event-loop turn (a burst of
// answers) reaches the widget once, at the end of the turn: the last value
// set wins, and what the widget would show is readable at once.
template <typename T> class TLater {
public:
    const T *Pending() const { return value_ ? &*value_ : nullptr; }
    void Cancel() { value_.reset(); }
    template <typename Apply> void Set(QObject *owner, T value, Apply apply)
    {
        const bool posted = value_.has_value();
        value_ = std::move(value);
        if (posted)
            return;
        QMetaObject::invokeMethod(
            owner,
            [this, apply] {
                if (!value_)
                    return;
                T last = std::move(*value_);
                value_.reset();
                apply(last);
            },
            Qt::QueuedConnection);
    }

private:
    std::optional<T> value_;
};

class TLabel : public QLabel, public TTagged {
    Q_OBJECT
public:
    explicit TLabel(QWidget *parent = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string &c);
    void SetCaptionLater(const std::string &c);

protected:
    // A line wider than the label ends in an ellipsis; the caption keeps it whole.
    void paintEvent(QPaintEvent *event) override;

private:
    TLater<std::string> later_;
};

class TStaticText : public TLabel {
    Q_OBJECT
public:
    using TLabel::TLabel;
};

class TImage : public QLabel, public TTagged {
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr) : QLabel(parent) {}
    // The picture shown, or the one shown at the end of the turn.
    QPixmap Picture() const;
    // A null picture clears.
    void SetPicture(const QPixmap &picture);
    void SetPictureLater(const QPixmap &picture);

private:
    TLater<QPixmap> later_;
};

class TButton : public QPushButton, public TTagged {
    Q_OBJECT
public:
    explicit TButton(QWidget *parent = nullptr) : QPushButton(parent) {}
    std::string Caption() const { return FromQ(text()); }
    void SetCaption(const std::string &c) { setText(ToQ(c)); }
};

class TBitBtn : public QPushButton, public TTagged {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget *parent = nullptr) : QPushButton(parent) {}
    std::string Caption() const { return FromQ(text()); }
    void SetCaption(const std::string &c) { setText(ToQ(c)); }
};

class TCheckBox : public QCheckBox, public TTagged {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget *parent = nullptr) : QCheckBox(parent) {}
    std::string Caption() const { return FromQ(text()); }
    void SetCaption(const std::string &c) { setText(ToQ(c)); }
};

class TDBCheckBox : public QCheckBox, public TTagged {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget *parent = nullptr) : QCheckBox(parent) {}
    std::string Caption() const { return FromQ(text()); }
    void SetCaption(const std::string &c) { setText(ToQ(c)); }
};

class TRadioButton : public QRadioButton, public TTagged {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget *parent = nullptr) : QRadioButton(parent) {}
    std::string Caption() const { return FromQ(text()); }
    void SetCaption(const std::string &c) { setText(ToQ(c)); }
};

class TGroupBox : public QGroupBox, public TTagged {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget *parent = nullptr) : QGroupBox(parent) {}
    std::string Caption() const { return FromQ(title()); }
    void SetCaption(const std::string &c) { setTitle(ToQ(c)); }
};

class TSpeedButton : public QToolButton, public TTagged {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget *parent = nullptr) : QToolButton(parent) {}
};

// A tool-bar button drawn as a glyph (UTF-8 symbol, no words): what it does is
// told by its hint, the language file's text for its tag.
TSpeedButton *AddGlyphButton(QToolBar *bar, int tag, const char *glyph, const std::string &hint);

class TEdit : public QLineEdit, public TTagged {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr) : QLineEdit(parent) {}
    std::string Text() const;
    void SetText(const std::string &t);
};

class TCSpinEdit : public QSpinBox, public TTagged {
    Q_OBJECT
public:
    explicit TCSpinEdit(QWidget *parent = nullptr) : QSpinBox(parent) {}
};

class TComboBox : public QComboBox, public TTagged {
    Q_OBJECT
public:
    explicit TComboBox(QWidget *parent = nullptr) : QComboBox(parent) {}
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int i) { setCurrentIndex(i); }
    std::string Item(int i) const;
    void SetItem(int i, const std::string &t);
    void AddItem(const std::string &t);
};

class TRadioGroup : public QGroupBox, public TTagged {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string &c);
    int Count() const { return static_cast<int>(buttons_.size()); }
    std::string Item(int i) const;
    void SetItem(int i, const std::string &t);
    void AddItem(const std::string &t);
    int ItemIndex() const;
    void SetItemIndex(int i);

private:
    std::vector<QRadioButton *> buttons_;
};

class TDBRadioGroup : public TRadioGroup {
    Q_OBJECT
public:
    using TRadioGroup::TRadioGroup;
};

class TPanel : public QFrame, public TTagged {
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent = nullptr) : QFrame(parent) {}
};

class TToolBar : public QToolBar, public TTagged {
    Q_OBJECT
public:
    explicit TToolBar(QWidget *parent = nullptr) : QToolBar(parent) {}
};

class TTabSheet : public QWidget, public TTagged {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget *parent = nullptr) : QWidget(parent) {}
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string &c);

private:
    std::string caption_;
};

class TPageControl : public QTabWidget, public TTagged {
    Q_OBJECT
public:
    explicit TPageControl(QWidget *parent = nullptr) : QTabWidget(parent) {}
    TTabSheet *AddPage(const std::string &caption);
};

class TTabControl : public QWidget, public TTagged {
    Q_OBJECT
public:
    explicit TTabControl(QWidget *parent = nullptr);
    QTabBar *Tabs() const { return tabs_; }
    int Count() const { return tabs_->count(); }
    std::string Tab(int i) const;
    void SetTab(int i, const std::string &t);
    void AddTab(const std::string &t);
    int TabIndex() const { return tabs_->currentIndex(); }
    void SetTabIndex(int i) { tabs_->setCurrentIndex(i); }

private:
    QTabBar *tabs_;
};

class TMemo : public QPlainTextEdit, public TTagged {
    Q_OBJECT
public:
    explicit TMemo(QWidget *parent = nullptr) : QPlainTextEdit(parent) {}
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string> &lines);
};

// Row 0 is the fixed title row, shown as the column headers.
class TStringGrid : public QTableWidget, public TTagged {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget *parent = nullptr) : QTableWidget(parent) {}
    int ColCount() const { return columnCount(); }
    void SetColCount(int n) { setColumnCount(n); }
    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string &t);
    int Object(int col, int row) const;
    void SetObject(int col, int row, int value);

private:
    std::map<std::pair<int, int>, int> objects_;
};

class TDBGrid : public QTableView, public TTagged {
    Q_OBJECT
public:
    struct Column {
        std::string FieldName;
        std::string Title;
    };
    explicit TDBGrid(QWidget *parent = nullptr) : QTableView(parent) {}
    std::vector<Column> Columns;
    void SetColumnTitle(size_t i, const std::string &title);
};

class TDBNavigator : public QWidget, public TTagged {
    Q_OBJECT
public:
    static constexpr int kButtons = 10;
    explicit TDBNavigator(QWidget *parent = nullptr);
    const std::vector<std::string> &Hints() const { return hints_; }
    void SetHints(const std::vector<std::string> &hints);

private:
    std::vector<QToolButton *> buttons_;
    std::vector<std::string> hints_;
};

class TScrollBox : public QScrollArea, public TTagged {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget *parent = nullptr);
    QWidget *Contents() const { return widget(); }
};
