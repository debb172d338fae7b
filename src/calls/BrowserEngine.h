#pragma once
// The web engine behind the door console, in a module of its own that is
// loaded on first use: linking the engine into the program would cost every
// start time and memory, shown console or not.
#include <QString>

#include <functional>

class QWidget;

class TBrowserEngine {
public:
    virtual ~TBrowserEngine() = default;
    virtual QWidget *Widget() = 0;
    virtual void Navigate(const QString &address) = 0;
    // Percent loaded of maximum 100; (-1, 0) when the page has finished.
    std::function<void(int progress, int maximum)> OnProgress;
};

// The module's one entry point; the engine's widget is a child of parent.
using TCreateBrowserEngine = TBrowserEngine *(*)(QWidget *parent);
#define TALVO_BROWSER_ENTRY "TalvoCreateBrowserEngine"
