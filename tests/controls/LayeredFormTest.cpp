// The layered form: one per form, its writers and types, and its fades.
#include "Layeredform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

namespace {

TEST(LayeredForm, OnlyOnAFormAndOnlyOnce)
{
    QWidget form, *child = new QWidget(&form);
    QObject plain;
    for (QObject *owner : {static_cast<QObject *>(child), &plain, static_cast<QObject *>(nullptr)}) {
        try {
            TLayeredForm refused(owner);
            ADD_FAILURE() << "taken on a control that is not a form";
        } catch (const ELayeredFormError &e) {
            EXPECT_STREQ(e.what(), "Control parent must be a form!");
        }
    }
    auto *first = new TLayeredForm(&form);
    EXPECT_EQ(first->Alpha(), 255);
    EXPECT_EQ(first->LayerType(), ltNone);
    try {
        new TLayeredForm(&form);
        ADD_FAILURE() << "a second one taken";
    } catch (const ELayeredFormError &e) {
        EXPECT_STREQ(e.what(), "Only one instance of TLayeredForm allowed on form");
    }
    EXPECT_EQ(form.findChildren<TLayeredForm *>().size(), 1);
}

// A black form with a white block at (10, 10, 20, 20).
struct KeyedForm {
    KeyedForm()
    {
        form.resize(60, 40);
        form.setAutoFillBackground(true);
        QPalette black = form.palette();
        black.setColor(QPalette::Window, Qt::black);
        form.setPalette(black);
        auto *block = new QLabel(&form);
        QPixmap white(20, 20);
        white.fill(Qt::white);
        block->setPixmap(white);
        block->setGeometry(10, 10, 20, 20);
    }
    QWidget form;
    TLayeredForm *layered = new TLayeredForm(&form);
};

TEST(LayeredForm, WritersApplyOnlyWhatConcernsTheActiveType)
{
    KeyedForm f;
    TLayeredForm &l = *f.layered;
    const QPoint black(2, 2), white(15, 15);
    l.SetColorKey(clBlack);
    l.SetAlpha(100);
    EXPECT_TRUE(f.form.mask().isEmpty()) << "no type, no shape";
    EXPECT_DOUBLE_EQ(f.form.windowOpacity(), 1.0);

    l.SetLayerType(ltColorKey);
    EXPECT_FALSE(f.form.mask().contains(black));
    EXPECT_TRUE(f.form.mask().contains(white));
    EXPECT_EQ(l.Region(), f.form.mask());
    EXPECT_DOUBLE_EQ(f.form.windowOpacity(), 1.0) << "the key alone, whatever the alpha";

    l.SetLayerType(ltAlphaBlend);
    EXPECT_TRUE(f.form.mask().isEmpty());
    EXPECT_NEAR(f.form.windowOpacity(), 100 / 255.0, 0.01);
    // A new key while blending waits for the type that uses it.
    l.SetColorKey(clWhite);
    EXPECT_TRUE(f.form.mask().isEmpty());
    l.SetLayerType(ltColorKey);
    EXPECT_TRUE(f.form.mask().contains(black));
    EXPECT_FALSE(f.form.mask().contains(white));
    l.SetAlpha(10);
    EXPECT_DOUBLE_EQ(f.form.windowOpacity(), 1.0);

    l.SetLayerType(ltNone);
    EXPECT_TRUE(f.form.mask().isEmpty());
    EXPECT_TRUE(l.Region().isEmpty());
    EXPECT_DOUBLE_EQ(f.form.windowOpacity(), 1.0);
}

std::vector<int> Steps(int from, int to, int step)
{
    std::vector<int> v;
    for (int a = from; step > 0 ? a < to : a > to; a += step)
        v.push_back(a);
    v.push_back(to);
    return v;
}

std::vector<std::string> debugLines;
void KeepDebug(QtMsgType, const QMessageLogContext &, const QString &text) { debugLines.push_back(text.toStdString()); }

TEST(LayeredForm, FadesStepOnTheEventLoopAndSayWhenDone)
{
    KeyedForm f;
    TLayeredForm &l = *f.layered;
    std::vector<int> seen;
    QObject::connect(&l, &TLayeredForm::AlphaChanged, [&](int a) { seen.push_back(a); });
    std::vector<std::string> done;
    l.OnFadeInDone = [&](QObject *sender) { done.push_back(sender == &l ? "in" : "in, other sender"); };
    l.OnFadeOutDone = [&](QObject *sender) { done.push_back(sender == &l ? "out" : "out, other sender"); };
    const struct {
        bool in;
        int step;
        std::vector<int> values;
        const char *end;
    } cases[] = {
        {true, 10, Steps(0, 255, 10), "in"},   // 0, 10, ..., 250, 255
        {false, 51, Steps(204, 0, -51), "out"}, // from 255 (already there) down to 0
        {true, 0, Steps(1, 255, 1), "in"},      // a step of 0 goes by ones (0 is there already)
        {false, 100, Steps(155, 0, -100), "out"},
    };
    const QtMessageHandler previous = qInstallMessageHandler(KeepDebug);
    for (const auto &c : cases) {
        seen.clear();
        done.clear();
        debugLines.clear();
        c.in ? l.FadeIn(0, c.step) : l.FadeOut(0, c.step);
        EXPECT_TRUE(done.empty()) << "the fade waits on the event loop, not in the call";
        // Bounded, and without qWaitFor's pause between turns: a step is one turn.
        QDeadlineTimer bound(5000);
        while (done.empty() && !bound.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        ASSERT_FALSE(done.empty());
        EXPECT_EQ(seen, c.values) << c.step;
        EXPECT_EQ(done, std::vector<std::string>{c.end});
        EXPECT_EQ(debugLines, std::vector<std::string>{"fade time = 0"});
        EXPECT_EQ(l.LayerType(), ltAlphaBlend);
        EXPECT_DOUBLE_EQ(f.form.windowOpacity(), c.in ? 1.0 : 0.0);
    }
    qInstallMessageHandler(previous);
}

} // namespace
