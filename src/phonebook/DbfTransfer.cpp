#include "DbfTransfer.h"

#include "DbfExport.h"
#include "DbfImport.h"
#include "DbfProgress.h"
#include "Nlsfunc.h"

#include <QMessageBox>

#include <memory>

namespace {

std::string Text(int id)
{
    return Nls ? Nls->GetText(id) : std::string();
}

void Warn(QWidget *owner, const std::string &text)
{
    QMessageBox box(QMessageBox::Warning, ToQ(Text(101)), ToQ(text), QMessageBox::Ok, owner);
    box.exec();
}

// The rows an export left the files alone for, a screenful of them at most.
std::string UnreadableRows(const std::vector<TDbfExport::TUnreadable> &rows)
{
    constexpr size_t kShown = 15;
    std::string text = Text(9152);
    for (size_t i = 0; i < rows.size() && i < kShown; ++i) {
        const TDbfExport::TUnreadable &r = rows[i];
        text += "\n" + Text(9154 + r.Table) + ": " + r.Name + (r.Firm.empty() ? "" : " (" + r.Firm + ")");
    }
    if (rows.size() > kShown)
        text += "\n" + Text(9158) + " " + std::to_string(rows.size() - kShown);
    return text + "\n" + Text(9153);
}

// Why an export wrote nothing, and what that left.
std::string Refusal(TDbfExport::TRefusal why, const std::string &what)
{
    switch (why) {
    case TDbfExport::kBusy: return Text(1124) + "\n" + what + "\n" + Text(1122);
    case TDbfExport::kTaken: return Text(1125) + "\n" + what + "\n" + Text(1122);
    case TDbfExport::kImportPending: return Text(1113) + "\n" + what + "\n" + Text(1121) + "\n" + Text(1122);
    case TDbfExport::kNotRefused: break;
    }
    return {};
}

} // namespace

bool ExportBook(QWidget *owner, TPhoneBookStore &store)
{
    std::string failed;
    bookswap::TCommit outcome = bookswap::TCommit::kUndone;
    TDbfExport::TRefusal refused = TDbfExport::kNotRefused;
    try {
        TDbfExport exp(store);
        TFDbfProgress progress(owner, Text(1110),
                               {[&] { return exp.Step(5000); }, [&] { return exp.Rows(); }, [] {}});
        if (!progress.Run())
            return false;
        if (!exp.Unreadable().empty()) {
            Warn(owner, UnreadableRows(exp.Unreadable()));
            return false;
        }
        failed = exp.Failed();
        outcome = exp.Outcome();
        refused = exp.Refused();
    } catch (const std::exception &e) {
        failed = e.what();
    }
    if (refused != TDbfExport::kNotRefused)
        Warn(owner, Refusal(refused, failed));
    else if (!failed.empty())
        Warn(owner, Text(1113) + "\n" + failed + "\n" + Text(outcome == bookswap::TCommit::kPending ? 1123 : 1122));
    return failed.empty();
}

bool ImportBook(QWidget *owner, TPhoneBookStore &store)
{
    TDbfImport imp(store);
    TFDbfProgress progress(owner, Text(1111),
                           {[&] { return imp.Step(5000); }, [&] { return imp.Rows(); }, [&] { imp.Cancel(); }});
    progress.Run();
    // What went wrong, and what that left of the book.
    static const std::pair<int, int> kWhy[] = {{0, 0},       {1115, 1114}, {1116, 1114}, {1117, 1114},
                                               {0, 0},       {1118, 1114}, {1113, 1114}, {1113, 1121},
                                               {2021, 0},    {1124, 1114}, {1125, 1114}};
    if (auto [why, left] = kWhy[imp.Failure()]; why) {
        std::string where = imp.Detail();
        if (imp.Line())
            where += "\n" + Text(1119) + " " + std::to_string(imp.Line());
        Warn(owner, Text(why) + "\n" + where + (left ? "\n" + Text(left) : std::string()));
    } else if (imp.Cut()) {
        Warn(owner, Text(1120) + " " + std::to_string(imp.Cut()));
    }
    return imp.Failure() == TDbfImport::kNone;
}
