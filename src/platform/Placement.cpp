#include "Placement.h"

#include "IniFile.h"
#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QSize &SeenBorder()
{
    static QSize border;
    return border;
}

bool Framed(const QWidget *w) { return w->frameGeometry() != w->geometry(); }

QSize BorderOf(const QWidget *w)
{
    if (Framed(w))
        SeenBorder() = w->frameGeometry().size() - w->size();
    return SeenBorder();
}

void Place(QWidget *w, QPoint at, std::optional<QSize> frame);

// Watches an unframed window and gives it its wanted frame once it has one.
// Moved or resized by anything else meanwhile, the wish is void.
class TPendingFrame : public QObject {
public:
    TPendingFrame(QWidget *w, QPoint at, std::optional<QSize> frame)
        : QObject(w), At(at), Frame(frame), Set(w->geometry())
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
        const bool framed = Framed(w);
        if (framed || (w->isVisible() && w->geometry() != Set)) {
            w->removeEventFilter(this);
            setParent(nullptr);
            deleteLater();
            if (framed)
                Place(w, At, Frame);
        }
        return false;
    }
    bool Holds(const QWidget *w) const { return w->geometry() == Set; }
    QPoint At;                  // wanted top-left of the frame
    std::optional<QSize> Frame; // wanted frame size; none keeps the window's size
    QRect Set;                  // the geometry given for it
};

TPendingFrame *PendingOf(const QWidget *w)
{
    return w->findChild<TPendingFrame *>(QStringLiteral("PendingFrame"), Qt::FindDirectChildrenOnly);
}

void Place(QWidget *w, QPoint at, std::optional<QSize> frame)
{
    delete PendingOf(w);
    const bool framed = Framed(w);
    const QSize border = BorderOf(w);
    w->move(at);
    if (frame)
        w->resize(std::max(0, frame->width() - border.width()), std::max(0, frame->height() - border.height()));
    if (!framed)
        new TPendingFrame(w, at, frame);
}

} // namespace

void SetFramePlacement(QWidget *w, const QRect &frame) { Place(w, frame.topLeft(), frame.size()); }

QRect FramePlacement(const QWidget *w)
{
    const TPendingFrame *pending = PendingOf(w);
    if (pending && pending->Holds(w))
        return QRect(pending->At, pending->Frame ? *pending->Frame : w->size() + BorderOf(w));
    return QRect(w->frameGeometry().topLeft(), w->size() + BorderOf(w));
}

void LoadPlacement(const TIniFile &ini, const std::string &section, QWidget *w, PlacementKeys keys,
                   std::optional<QPoint> origin)
{
    const QRect g = FramePlacement(w);
    const QPoint from = origin ? *origin : g.topLeft();
    const QPoint at(ini.ReadInteger(section, "Left", from.x()), ini.ReadInteger(section, "Top", from.y()));
    std::optional<QSize> frame;
    if (ini.ValueExists(section, "Width") || ini.ValueExists(section, "Height"))
        frame = QSize(ini.ReadInteger(section, "Width", g.width()), ini.ReadInteger(section, "Height", g.height()));
    // Qt keeps a window no smaller than its least size: that is what must fit.
    const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint()) + BorderOf(w);
    const QRect wanted(at, (frame ? *frame : g.size()).expandedTo(least));
    const QRect area = AvailableArea(w, wanted);
    const QRect fitted = area.isEmpty() ? wanted : FittedTo(wanted, area);
    if (fitted.size() != wanted.size())
        frame = fitted.size();
    Place(w, fitted.topLeft(), frame);
    if (keys != PlacementKeys::LeftTopWidthHeight)
        w->setVisible(ini.ReadBool(section, "Visible", false));
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

QRect AvailableArea(const QWidget *w, const QRect &frame)
{
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
