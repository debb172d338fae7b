#pragma once
// Cuts the exchange's byte stream into single tags. Fed with whatever the
// socket delivered (at most Room() bytes at a time); hands every complete
// tag to OnMessage in arrival order.
//
// OnMessage may feed the framing again (a handler that opens a modal box runs
// a nested event loop in which the socket is read): every message is copied
// out and the buffer brought up to date before it is handed on, and the
// cutting loop always works on the current contents.
#include <functional>
#include <string_view>

class TRxFraming {
public:
    static constexpr int kSize = 4000;

    TRxFraming() { Clear(); }
    TRxFraming(const TRxFraming &) = delete;
    TRxFraming &operator=(const TRxFraming &) = delete;

    // Bytes that Receive takes now.
    int Room() const { return kSize - RxCount; }
    // Takes at most Room() bytes, edits, cuts and dispatches; returns how many it took.
    int Receive(const char *data, int n);
    void Clear();

    // The bytes waiting for their '>' (NUL-terminated).
    const char *RxBuffer() const { return buffer_ + start_; }
    int RxCount = 0;
    // The message cut last (NUL-terminated); valid until the next cut.
    const char *RxMessage() const { return message_; }

    std::function<void(std::string_view)> OnMessage;

private:
    void Append(const char *data, int n);
    void Cut();
    void Compact();

    // The waiting bytes are buffer_[start_, start_ + RxCount): cutting only
    // moves start_, the bytes move down once per read.
    int start_ = 0;
    char buffer_[kSize + 1];
    char message_[kSize + 1];
};
