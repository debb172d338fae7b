#pragma once
// The console's web browser, made only when first needed: the web engine is
// heavy, and a run that never shows the console never loads it.
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class TBrowserEngine;

class TPorterBrowser : public QWidget {
    Q_OBJECT
public:
    explicit TPorterBrowser(QWidget *parent);
    ~TPorterBrowser() override;
    // Loads the address now when the engine is up, else once it is.
    void Navigate(const std::string &address);
    // Loads the engine (the console does it when first shown); false when
    // its module is missing, and the area stays empty.
    bool Create();
    bool Created() const { return engine_ != nullptr; }
    // The engine's page widget; nullptr before it is up.
    QWidget *View() const;

    // Percent of the page loaded; -1 when it has finished.
    std::function<void(int progress, int maximum)> OnProgress;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::unique_ptr<TBrowserEngine> engine_;
    bool tried_ = false;
    std::string pending_;
};
