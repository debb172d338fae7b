#include "UnkeptText.h"

#include "Cp1250.h"
#include "Nlsfunc.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

QString Said(const std::string &text, const char *otherwise)
{
    return ToQ(text.empty() ? otherwise : text);
}

QString TextOf(QWidget *control)
{
    if (auto *e = qobject_cast<QLineEdit *>(control))
        return e->text();
    if (auto *m = qobject_cast<QPlainTextEdit *>(control))
        return m->toPlainText();
    return {};
}

} // namespace

bool WarnUnkept(QWidget *owner, const QString &text)
{
    const QStringList each = cp1250::Unkept(text);
    if (each.isEmpty())
        return false;
    // The characters are joined as they are: the code page has no bytes for them.
    const bool nls = Nls != nullptr;
    QMessageBox box(QMessageBox::Warning, Said(nls ? Nls->GetText(101) : "", "Warning"),
                    Said(nls ? Nls->GetText(9150) : "", "These characters cannot be stored:") + "  " +
                        each.join("  ") + "\n" +
                        Said(nls ? Nls->GetText(9151) : "", "Remove them or put others in their place."),
                    QMessageBox::Ok, owner);
    box.exec();
    return true;
}

void BringIntoView(QWidget *control)
{
    for (QWidget *w = control; w && w->parentWidget(); w = w->parentWidget())
        if (qobject_cast<QStackedWidget *>(w->parentWidget()))
            if (auto *pages = qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget()))
                pages->setCurrentWidget(w);
    control->setFocus();
}

bool RefuseUnkept(QWidget *owner, const std::vector<QWidget *> &controls)
{
    for (QWidget *c : controls)
        if (!cp1250::Unkept(TextOf(c)).isEmpty()) {
            BringIntoView(c);
            return WarnUnkept(owner, TextOf(c));
        }
    return false;
}
