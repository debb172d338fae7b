// Cutting the byte stream into tags.
#include "Framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Messages = std::vector<std::string>;

struct Cutter {
    TRxFraming f;
    Messages got;
    Cutter() { f.OnMessage = [this](std::string_view m) { got.emplace_back(m); }; }
    int Feed(const std::string &b) { return f.Receive(b.data(), static_cast<int>(b.size())); }
    std::string Waiting() const { return std::string(f.RxBuffer(), f.RxCount); }
};

TEST(Framing, CutsAtEachTagEndAcrossReadsAndDropsLineEnds)
{
    Cutter c;
    c.Feed("\n\r<a/>\r\n<b/>\r\n\r\nxy<c/><ans Type=\"RI");
    EXPECT_EQ(c.got, (Messages{"<a/>", "<b/>", "xy<c/>"}));
    EXPECT_EQ(c.Waiting(), "<ans Type=\"RI");
    c.Feed("NG\" /");
    EXPECT_EQ(c.got.size(), 3u);
    c.Feed(">\r\n");
    EXPECT_EQ(c.got.back(), "<ans Type=\"RING\" />");
    EXPECT_STREQ(c.f.RxMessage(), "<ans Type=\"RING\" />");
    EXPECT_EQ(c.f.RxCount, 0);
}

TEST(Framing, BackspaceAndNulEditing)
{
    Cutter c;
    c.Feed("AB\bC>");
    c.Feed("<ab");
    c.Feed("\b\bc/>");
    c.Feed("\b<z/>"); // nothing in front: the BS goes alone
    EXPECT_EQ(c.got, (Messages{"AC>", "<c/>", "<z/>"}));
    // NULs are dropped and the count stays in step with the text.
    EXPECT_EQ(c.Feed(std::string("<a\0 b/>\0<d", 10)), 10);
    EXPECT_EQ(c.got.back(), "<a b/>");
    EXPECT_EQ(c.f.RxCount, 2);
    EXPECT_STREQ(c.f.RxBuffer(), "<d");
}

TEST(Framing, TakesOnlyTheRoomLeftAndRecoversFromAFullBuffer)
{
    Cutter c;
    EXPECT_EQ(c.Feed(std::string(3000, 'a')), 3000);
    // 4000 bytes without a '>' could never drain: they are discarded.
    EXPECT_EQ(c.Feed(std::string(1500, 'b')), 1000);
    EXPECT_EQ(c.f.RxCount, 0);
    c.Feed("<ok/>");
    EXPECT_EQ(c.got, (Messages{"<ok/>"}));
    // A full buffer that ends a tag is cut, not discarded.
    c.Feed(std::string(3995, 'x') + "<ok/>");
    EXPECT_EQ(c.got.back().size(), 4000u);
}

TEST(Framing, HandlerFeedingAgainSeesAConsistentBuffer)
{
    Cutter c;
    std::string later = "<n/><o/>";
    c.f.OnMessage = [&](std::string_view m) {
        c.got.emplace_back(m);
        std::string nested;
        nested.swap(later);
        c.Feed(nested); // a read inside a modal box opened by the handler
    };
    c.Feed("<m/><p/>");
    EXPECT_EQ(c.got, (Messages{"<m/>", "<p/>", "<n/>", "<o/>"}));
    EXPECT_EQ(c.f.RxCount, 0);
}

} // namespace
