#pragma once
// The list of texts sent and received, as the link window shows it.
#include <deque>
#include <string>

class TMessageList {
public:
    virtual ~TMessageList() = default;
    virtual int Count() const = 0;
    virtual void DeleteFirst() = 0;
    virtual void Add(const std::string &line) = 0;
    // -1 when nothing is selected.
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
};

// The list kept in memory only (no window).
class TLineList : public TMessageList {
public:
    int Count() const override { return static_cast<int>(Lines.size()); }
    void DeleteFirst() override { Lines.pop_front(); }
    void Add(const std::string &line) override { Lines.push_back(line); }
    int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override { index_ = index; }

    std::deque<std::string> Lines;

private:
    int index_ = -1;
};
