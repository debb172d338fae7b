#include "AutoList.h"

#include "AtomicFile.h"
#include "Cp1250.h"
#include "FailureTrace.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

// The ID read as the dialler reads it: an empty one counts as 0.
int IdOf(TDbCursor &c)
{
    TDbField id = c.FieldByName("ID");
    return id.IsNull() ? 0 : static_cast<int>(id.AsInteger());
}

int AttemptsOf(TDbCursor &c)
{
    TDbField a = c.FieldByName("ATTEMPTS");
    return a.IsNull() ? 0 : static_cast<int>(a.AsInteger());
}

std::vector<TDbCursor::TBookmark> AllInOrder(TDbCursor &c)
{
    std::vector<TDbCursor::TBookmark> marks;
    for (c.First(); !c.Eof(); c.Next())
        marks.push_back(c.GetBookmark());
    return marks;
}

// A line as far as the record can hold it: at most 199 bytes, the rest of a
// longer line dropped, the line end (LF or CR LF) cut off. False at the end.
bool ReadLine(std::istream &in, std::string &line)
{
    line.clear();
    char ch;
    bool any = false;
    while (in.get(ch)) {
        any = true;
        if (ch == '\n')
            break;
        if (line.size() < 200)
            line += ch;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > 199)
        line.resize(199);
    return any;
}

bool HoldsControl(const std::string &line)
{
    return std::any_of(line.begin(), line.end(), [](char c) { return cp1250::IsControl(static_cast<unsigned char>(c)); });
}

} // namespace

TDbTableDef TAutoList::Def()
{
    return {{DbFloat("ID"), DbString("NAME", 40), DbString("NUMBER", 24), DbFloat("ATTEMPTS"), DbString("NOTE", 80)},
            {{"ID", "ID", false}}};
}

void TAutoList::OpenTable(const std::string &databaseDir)
{
    try {
        const TDbTableDef def = Def();
        Table.Close();
        Table.DatabaseName = databaseDir;
        Table.TableName = "Autosn";
        Table.FieldDefs = def.Fields;
        Table.IndexDefs = def.Indexes;
        Table.CreateTableIfMissing();
        Table.SetIndexName("");
        Table.Open();
        Table.SetIndexName("ID");
        Table.First();
        marker_.Close();
        marker_.DatabaseName = databaseDir;
        marker_.TableName = Table.TableName;
        marker_.IndexDefs = def.Indexes;
        marker_.Open();
        TableOpen = true;
    } catch (const std::exception &) {
        TraceFailure("TAutoList::OpenTable");
        Table.Close();
        marker_.Close();
        TableOpen = false;
    }
}

void TAutoList::CloseTable()
{
    TableOpen = false;
    try {
        Table.Close();
        marker_.Close();
    } catch (const std::exception &) {
        TraceFailure("TAutoList::CloseTable");
    }
}

void TAutoList::SetId(TDbCursor &c, int id)
{
    c.Edit();
    c.FieldByName("ID").SetAsInteger(id);
}

void TAutoList::RenumberRecords()
{
    NextDoneId = kFirstDoneId;
    NextFailId = kFirstFailId;
    if (!TableOpen)
        return;
    // Bookmarks first: changing an ID moves the record within the order.
    for (TDbCursor::TBookmark mark : AllInOrder(Table)) {
        Table.GotoBookmark(mark);
        const int id = IdOf(Table);
        if (id == 0)
            continue;
        SetId(Table, id < 0 ? NextDoneId++ : 0);
        Table.FieldByName("ATTEMPTS").SetAsInteger(0);
        Table.Post();
    }
    Table.First();
}

bool TAutoList::FindNext(int repeatCall, const std::function<bool()> &idle)
{
    if (!TableOpen)
        return false;
    for (Table.First(); !Table.Eof(); Table.Next()) {
        if (!idle())
            return false;
        if (IdOf(Table) >= 0 && (repeatCall == 0 || AttemptsOf(Table) < repeatCall))
            return true;
    }
    return false;
}

void TAutoList::MarkReached()
{
    SetId(Table, NextDoneId++);
    Table.Post();
}

void TAutoList::FinishCall(TDbCursor::TBookmark dialled, bool reached, bool countAttempt)
{
    if (!TableOpen || !marker_.BookmarkValid(dialled))
        return;
    marker_.GotoBookmark(dialled);
    const int attempts = AttemptsOf(marker_);
    SetId(marker_, reached ? NextDoneId++ : NextFailId++);
    if (!reached && countAttempt)
        marker_.FieldByName("ATTEMPTS").SetAsInteger(attempts + 1);
    marker_.Post();
}

void TAutoList::PostEdit()
{
    if (Table.State() == TDbCursor::dsEdit && marker_.BookmarkValid(Table.GetBookmark())) {
        marker_.GotoBookmark(Table.GetBookmark());
        for (const char *name : {"ID", "ATTEMPTS"}) {
            TDbField stored = marker_.FieldByName(name), edited = Table.FieldByName(name);
            stored.IsNull() ? edited.SetAsString("") : edited.SetAsFloat(stored.AsFloat());
        }
    }
    Table.Post();
}

void TAutoList::MarkFailedByHand()
{
    SetId(Table, NextFailId++);
    Table.FieldByName("ATTEMPTS").SetAsInteger(0);
    Table.Post();
}

void TAutoList::EraseAll()
{
    if (!TableOpen)
        return;
    Table.First();
    while (!Table.IsEmpty()) {
        Table.First();
        Table.Delete();
    }
}

void TAutoList::Export(std::ostream &out, const TProgress &progress)
{
    if (!TableOpen)
        return;
    // A cursor of its own, over the order as it stands now: a call that ends
    // meanwhile neither moves the user's record nor reorders the file.
    TDbCursor scan;
    scan.DatabaseName = Table.DatabaseName;
    scan.TableName = Table.TableName;
    scan.IndexDefs = Def().Indexes;
    scan.Open();
    scan.SetIndexName("ID");
    const std::vector<TDbCursor::TBookmark> marks = AllInOrder(scan);
    int done = 0;
    for (TDbCursor::TBookmark mark : marks) {
        if (!scan.BookmarkValid(mark))
            continue;
        scan.GotoBookmark(mark);
        static const char kLetters[] = {'T', ' ', 'E'};
        out << scan.FieldByName("NUMBER").AsString() << ';' << scan.FieldByName("NAME").AsString() << ';'
            << scan.FieldByName("NOTE").AsString() << ';' << kLetters[StatusOf(IdOf(scan)) + 1] << "\r\n";
        if (progress)
            progress(++done, static_cast<int>(marks.size()));
    }
}

bool TAutoList::ExportFile(const std::string &path, const TProgress &progress)
{
    if (!TableOpen)
        return false;
    std::ostringstream out;
    Export(out, progress);
    const std::string file = atomicfile::FollowLinks(path);
    return !file.empty() && atomicfile::Replace(file, out.str());
}

TAutoList::TImported TAutoList::Import(std::istream &in, const TProgress &progress)
{
    NextDoneId = kFirstDoneId;
    NextFailId = kFirstFailId;
    TImported counts;
    int &added = counts.Added;
    std::string line;
    while (ReadLine(in, line)) {
        if (HoldsControl(line)) {
            ++counts.Skipped;
            continue;
        }
        const size_t first = line.find(';');
        const size_t second = first == std::string::npos ? first : line.find(';', first + 1);
        if (second == std::string::npos)
            continue;
        const size_t third = line.find(';', second + 1);
        int id = 0;
        if (third != std::string::npos && third + 1 < line.size() && line[third + 1] == 'T')
            id = NextDoneId++;
        Table.Append();
        Table.FieldByName("NUMBER").SetAsString(line.substr(0, first));
        Table.FieldByName("NAME").SetAsString(line.substr(first + 1, second - first - 1));
        Table.FieldByName("NOTE").SetAsString(
            third == std::string::npos ? line.substr(second + 1) : line.substr(second + 1, third - second - 1));
        Table.FieldByName("ID").SetAsInteger(id);
        Table.FieldByName("ATTEMPTS").SetAsInteger(0);
        Table.Post();
        ++added;
        if (progress)
            progress(added, 0);
    }
    Table.First();
    return counts;
}
