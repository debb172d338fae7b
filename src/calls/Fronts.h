#pragma once
// Calls waiting in the line's queue (up to four); the call ringing on the
// line itself is not one of them. A double click takes a waiting call.
#include "CallList.h"
#include "CallSlots.h"

class TFFront : public TCallListWindow {
    Q_OBJECT
public:
    static constexpr int kSlots = 4;
    TFFront(QWidget *owner, bool canCall, int handle);
    ~TFFront() override;
    // One element of a RING list; text is the caller as the panel names it.
    void ProcessElement(const std::string &act, int pos, const std::string &text, const std::string &cid,
                        const std::string &port);

private:
    std::string RowCid(int row) const override;
    void TakeRow(int row) override;
    TCallSlots slots_{kSlots, 1};
};

extern TFFront *FFront;
