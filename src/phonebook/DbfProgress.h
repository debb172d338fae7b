#pragma once
// A modal window with a row count and a Cancel button that runs a piece of
// work step by step from the event loop, so that the panel keeps serving the
// exchange while the work goes on.
#include "Vcl.h"

#include <exception>
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
    // Runs the work to its end; false when it was cancelled. An error of a
    // step ends the work and is thrown from here.
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
    std::exception_ptr error_;
};
