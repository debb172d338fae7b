// The module that holds the web engine (see BrowserEngine.h).
#include "BrowserEngine.h"

#include <QPointer>
#include <QUrl>
#include <QWebEngineView>

namespace {

class TWebEngine : public TBrowserEngine {
public:
    explicit TWebEngine(QWidget *parent) : view_(new QWebEngineView(parent))
    {
        QObject::connect(view_, &QWebEngineView::loadProgress, view_, [this](int percent) {
            if (OnProgress)
                OnProgress(percent, 100);
        });
        QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool) {
            if (OnProgress)
                OnProgress(-1, 0);
        });
    }
    ~TWebEngine() override { delete view_.data(); }
    QWidget *Widget() override { return view_; }
    void Navigate(const QString &address) override { view_->load(QUrl::fromUserInput(address)); }

private:
    QPointer<QWebEngineView> view_;
};

} // namespace

extern "C" Q_DECL_EXPORT TBrowserEngine *TalvoCreateBrowserEngine(QWidget *parent) { return new TWebEngine(parent); }
