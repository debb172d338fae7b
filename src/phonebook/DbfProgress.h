#pragma once
// A modal window with a row count and a Cancel button that runs a piece of
// work step by step from the event loop, so that the panel keeps serving the
// exchange while the work goes on.
#include "Vcl.h"

#include <functional>
#include <string>

class QTimer;

class TFDbfProgress : public TDialog {
    Q_OBJECT
public:
    struct TWork {
        std::function<bool()> Step; // false once the work has ended
        std::function<long()> Rows;
        std::function<void()> Cancel;
    };
    TFDbfProgress(QWidget *owner, const std::string &caption, TWork work);
    // Runs the work to its end; false when it was cancelled.
    bool Run();

    TLabel *LabelRows;
    TBitBtn *BitBtnCancel;

private:
    void Tick();
    void ShowRows();
    void reject() override;
    TWork work_;
    QTimer *timer_;
    bool cancelled_ = false;
};
