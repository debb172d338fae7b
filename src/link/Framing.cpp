#include "Framing.h"

#include <cstring>

namespace {

constexpr char kBackspace = 8;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

void TRxFraming::Clear()
{
    start_ = 0;
    RxCount = 0;
    buffer_[0] = 0;
    message_[0] = 0;
}

void TRxFraming::Compact()
{
    if (start_ == 0)
        return;
    std::memmove(buffer_, buffer_ + start_, static_cast<size_t>(RxCount));
    start_ = 0;
    buffer_[RxCount] = 0;
}

// NULs are dropped (the buffer is worked by length, but a NUL would end the
// text every reader sees); a BS removes itself and the byte in front, alone
// when it has none.
void TRxFraming::Append(const char *data, int n)
{
    Compact();
    int w = RxCount;
    for (int i = 0; i < n; ++i) {
        char c = data[i];
        if (c == 0)
            continue;
        if (c == kBackspace) {
            if (w > 0)
                --w;
            continue;
        }
        buffer_[w++] = c;
    }
    RxCount = w;
    buffer_[RxCount] = 0;
}

void TRxFraming::Cut()
{
    for (;;) {
        const char *text = buffer_ + start_;
        const char *gt = static_cast<const char *>(std::memchr(text, '>', static_cast<size_t>(RxCount)));
        if (!gt)
            break;
        int begin = 0;
        while (IsLineEnd(text[begin]))
            ++begin;
        int end = static_cast<int>(gt - text) + 1;
        int length = end - begin;
        std::memcpy(message_, text + begin, static_cast<size_t>(length));
        message_[length] = 0;
        while (end < RxCount && IsLineEnd(text[end]))
            ++end;
        start_ += end;
        RxCount -= end;
        if (OnMessage)
            OnMessage(std::string_view(message_, static_cast<size_t>(length)));
    }
    // A full buffer without any '>' could never drain: drop it and go on.
    if (RxCount >= kSize)
        Clear();
}

int TRxFraming::Receive(const char *data, int n)
{
    if (n > Room())
        n = Room();
    if (n < 0)
        n = 0;
    Append(data, n);
    Cut();
    return n;
}
