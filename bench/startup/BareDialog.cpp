// The yardstick for the panel's start-up: the plainest Qt dialog there is,
// two line edits with OK and Cancel.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("User"), new QLineEdit(&dialog));
    form->addRow(QStringLiteral("Password"), new QLineEdit(&dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
