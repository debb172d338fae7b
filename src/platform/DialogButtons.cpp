#include "DialogButtons.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QSpacerItem>

QHBoxLayout *OkCancelRow(QWidget *dialog, TBitBtn *&ok, TBitBtn *&cancel)
{
    auto *row = new QHBoxLayout;
    ok = new TBitBtn(dialog);
    ok->Tag = 1;
    ok->SetCaption("OK");
    ok->setDefault(true);
    cancel = new TBitBtn(dialog);
    cancel->Tag = 2;
    cancel->SetCaption("Cancel");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    if (auto *modal = qobject_cast<QDialog *>(dialog))
        QObject::connect(cancel, &QPushButton::clicked, modal, &QDialog::reject);
    return row;
}

TLabel *TaggedLabel(QWidget *owner, int tag, const char *text)
{
    auto *l = new TLabel(owner);
    l->Tag = tag;
    l->SetCaption(text);
    return l;
}

void FitCaption(QMessageBox &box)
{
    // Room for the caption in a title font a little larger than the box's, and the title-bar buttons.
    QFont title = box.font();
    title.setBold(true);
    const int wanted = QFontMetrics(title).horizontalAdvance(box.windowTitle()) * 6 / 5 + 120;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}
