#include "SharedOpenGL.h"

#include <QGuiApplication>
#include <QOpenGLContext>

Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

// Ours, not the application's: it goes while the platform is still there.
void ForgetSharedContext()
{
    delete qt_gl_global_share_context();
    qt_gl_set_global_share_context(nullptr);
}

} // namespace

bool PrepareSharedOpenGL()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (QOpenGLContext *shared = qt_gl_global_share_context())
        return shared->isValid();
    auto *context = new QOpenGLContext;
    const bool made = context->create();
    // Kept even when it could not be made, as the application object does:
    // the engine then draws without the graphics card (without any context
    // at all it fails).
    qt_gl_set_global_share_context(context);
    qAddPostRoutine(ForgetSharedContext);
    return made;
}
