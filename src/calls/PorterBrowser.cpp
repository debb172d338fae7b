#include "PorterBrowser.h"

#include "BrowserEngine.h"
#include "Cp1250.h"
#include "SharedOpenGL.h"

#include <QCoreApplication>
#include <QLibrary>

TPorterBrowser::TPorterBrowser(QWidget *parent) : QWidget(parent) {}

TPorterBrowser::~TPorterBrowser() = default;

bool TPorterBrowser::Create()
{
    if (engine_ || tried_)
        return engine_ != nullptr;
    tried_ = true;
    PrepareSharedOpenGL();
    // Beside the program; never unloaded, as the engine cannot be.
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/talvo_browser"));
    auto create = reinterpret_cast<TCreateBrowserEngine>(module.resolve(TALVO_BROWSER_ENTRY));
    if (!create)
        return false;
    engine_.reset(create(this));
    engine_->OnProgress = [this](int progress, int maximum) {
        if (OnProgress)
            OnProgress(progress, maximum);
    };
    engine_->Widget()->setGeometry(rect());
    engine_->Widget()->show();
    if (!pending_.empty())
        Navigate(pending_);
    return true;
}

QWidget *TPorterBrowser::View() const { return engine_ ? engine_->Widget() : nullptr; }

void TPorterBrowser::Navigate(const std::string &address)
{
    pending_ = address;
    if (engine_)
        engine_->Navigate(ToQ(address));
}

void TPorterBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (engine_)
        engine_->Widget()->setGeometry(rect());
}
