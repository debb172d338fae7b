// Cutting the byte stream into tags.
#include "Framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Cutter {
    TRxFraming framing;
    std::vector<std::string> messages;
    Cutter()
    {
        framing.OnMessage = [this](std::string_view m) { messages.emplace_back(m); };
    }
    int Feed(const std::string &bytes) { return framing.Receive(bytes.data(), static_cast<int>(bytes.size())); }
    std::string Waiting() const { return std::string(framing.RxBuffer(), framing.RxCount); }
};

using Messages = std::vector<std::string>;

TEST(Framing, CutsAtEachGreaterThanAndDropsLineEnds)
{
    Cutter c;
    c.Feed("<ans Type=\"A\"/>\r\n<ans Type=\"B\"/>\r\n\r\n");
    EXPECT_EQ(c.messages, (Messages{"<ans Type=\"A\"/>", "<ans Type=\"B\"/>"}));
    EXPECT_EQ(c.framing.RxCount, 0);

    // Leading line ends go too; other text between tags fronts the next tag.
    Cutter d;
    d.Feed("\n\r<a/>xy<b/>");
    EXPECT_EQ(d.messages, (Messages{"<a/>", "xy<b/>"}));
    EXPECT_STREQ(d.framing.RxMessage(), "xy<b/>");
}

TEST(Framing, TagSplitAcrossReadsIsCutWhenItsEndArrives)
{
    Cutter c;
    c.Feed("<ans Type=\"RI");
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.Waiting(), "<ans Type=\"RI");
    c.Feed("NG\" /");
    EXPECT_TRUE(c.messages.empty());
    c.Feed(">\r\n<x");
    EXPECT_EQ(c.messages, (Messages{"<ans Type=\"RING\" />"}));
    EXPECT_EQ(c.Waiting(), "<x");
    // Line ends only wait until a '>' comes and are then skipped.
    c.Feed("/>\r\n");
    c.Feed("\r\n<y/>");
    EXPECT_EQ(c.messages.back(), "<y/>");
}

TEST(Framing, BackspaceRemovesItselfAndTheByteBefore)
{
    Cutter c;
    c.Feed(std::string("AB\bC>"));
    EXPECT_EQ(c.messages, (Messages{"AC>"}));

    // Across reads, and a BS with nothing in front removes itself alone.
    Cutter d;
    d.Feed("<ab");
    d.Feed("\b\bc/>");
    EXPECT_EQ(d.messages, (Messages{"<c/>"}));
    d.Feed("\b<z/>");
    d.Feed("\b\b\b");
    EXPECT_EQ(d.messages.back(), "<z/>");
    EXPECT_EQ(d.framing.RxCount, 0);
}

TEST(Framing, NulBytesAreDroppedAndCountStaysInStep)
{
    Cutter c;
    const std::string bytes("<a\0\0 b=\"1\"/>\0<c/>", 17);
    EXPECT_EQ(c.Feed(bytes), 17);
    EXPECT_EQ(c.messages, (Messages{"<a b=\"1\"/>", "<c/>"}));
    EXPECT_EQ(c.framing.RxCount, 0);
    c.Feed(std::string("\0<d", 3));
    EXPECT_EQ(c.framing.RxCount, 2);
    EXPECT_EQ(std::string(c.framing.RxBuffer()), "<d");
}

TEST(Framing, TakesOnlyTheRoomLeftAndRecoversFromAFullBuffer)
{
    Cutter c;
    std::string part(3000, 'a');
    EXPECT_EQ(c.Feed(part), 3000);
    EXPECT_EQ(c.framing.Room(), 1000);
    // 4000 bytes with no '>' can never drain: they are discarded.
    EXPECT_EQ(c.Feed(std::string(1500, 'b')), 1000);
    EXPECT_EQ(c.framing.RxCount, 0);
    EXPECT_TRUE(c.messages.empty());
    c.Feed("<ok/>");
    EXPECT_EQ(c.messages, (Messages{"<ok/>"}));

    // A full buffer that ends in a tag is cut, not discarded.
    Cutter d;
    d.Feed(std::string(3995, 'x') + "<ok/>");
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0].size(), 4000u);
}

TEST(Framing, HandlerFeedingAgainSeesAConsistentBuffer)
{
    Cutter c;
    std::string later = "<n/><o/>";
    c.framing.OnMessage = [&](std::string_view m) {
        c.messages.emplace_back(m);
        if (!later.empty()) {
            // A nested read while the first message is handled.
            std::string bytes;
            bytes.swap(later);
            c.Feed(bytes);
        }
    };
    c.Feed("<m/><p/>");
    EXPECT_EQ(c.messages, (Messages{"<m/>", "<p/>", "<n/>", "<o/>"}));
    EXPECT_EQ(c.framing.RxCount, 0);
}

} // namespace
