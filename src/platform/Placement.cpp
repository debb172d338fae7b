#include "Placement.h"

#include "IniFile.h"

#include <QEvent>
#include <QWidget>

namespace {

// Watches an unframed window and gives it its wanted frame once it has one.
// Moved or resized by anything else meanwhile, the wish is void.
class TPendingFrame : public QObject {
public:
    TPendingFrame(QWidget *w, const QRect &frame) : QObject(w), Frame(frame), Set(w->geometry())
    {
        setObjectName(QStringLiteral("PendingFrame"));
        w->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::Move && t != QEvent::Resize && t != QEvent::Show)
            return false;
        auto *w = static_cast<QWidget *>(watched);
        const bool framed = w->frameGeometry() != w->geometry();
        if (framed || (w->isVisible() && w->geometry() != Set)) {
            w->removeEventFilter(this);
            setParent(nullptr);
            deleteLater();
            if (framed)
                SetFramePlacement(w, Frame);
        }
        return false;
    }
    bool Holds(const QWidget *w) const { return w->geometry() == Set; }
    QRect Frame; // wanted outer frame
    QRect Set;   // the geometry given for it
};

TPendingFrame *PendingOf(const QWidget *w)
{
    return w->findChild<TPendingFrame *>(QStringLiteral("PendingFrame"), Qt::FindDirectChildrenOnly);
}

} // namespace

void SetFramePlacement(QWidget *w, const QRect &frame)
{
    delete PendingOf(w);
    const QRect now = w->frameGeometry();
    const bool framed = now != w->geometry();
    const QSize border = now.size() - w->size();
    w->move(frame.topLeft());
    w->resize(std::max(0, frame.width() - border.width()), std::max(0, frame.height() - border.height()));
    if (!framed)
        new TPendingFrame(w, frame);
}

QRect FramePlacement(const QWidget *w)
{
    const TPendingFrame *pending = PendingOf(w);
    return pending && pending->Holds(w) ? pending->Frame : w->frameGeometry();
}

void LoadPlacement(const TIniFile &ini, const std::string &section, QWidget *w, PlacementKeys keys)
{
    QRect g = FramePlacement(w);
    int left = ini.ReadInteger(section, "Left", g.left());
    int top = ini.ReadInteger(section, "Top", g.top());
    int width = ini.ReadInteger(section, "Width", g.width());
    int height = ini.ReadInteger(section, "Height", g.height());
    SetFramePlacement(w, QRect(left, top, width, height));
    if (keys != PlacementKeys::LeftTopWidthHeight)
        w->setVisible(ini.ReadBool(section, "Visible", w->isVisible()));
}

void SavePlacement(TIniFile &ini, const std::string &section, const QWidget *w, PlacementKeys keys)
{
    QRect g = FramePlacement(w);
    auto position = [&] {
        ini.WriteInteger(section, "Left", g.left());
        ini.WriteInteger(section, "Top", g.top());
    };
    auto size = [&] {
        ini.WriteInteger(section, "Width", g.width());
        ini.WriteInteger(section, "Height", g.height());
    };
    if (keys != PlacementKeys::LeftTopWidthHeight)
        ini.WriteBool(section, "Visible", w->isVisible());
    if (keys == PlacementKeys::VisibleWidthHeightLeftTop) {
        size();
        position();
    } else {
        position();
        size();
    }
}
