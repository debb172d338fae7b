#include "RemoteTable.h"

#include "Attr.h"
#include "Fce.h"
#include "IniFile.h"

#include <algorithm>
#include <chrono>

namespace {

const std::string kDbf = "DBF:";
const size_t kDbfAttrStart = 8; // after "DBF:Nam:"

bool IsDbfField(const std::string &field) { return field.compare(0, kDbf.size(), kDbf) == 0; }

} // namespace

TRemoteColumnDef ParseColumnDef(const std::string &key, const std::string &def)
{
    TRemoteColumnDef c;
    c.Key = key;
    c.Field = GetCommaField(0, def);
    c.Width = IniParseInt(GetCommaField(1, def), 60);
    c.Title = GetCommaField(2, def);
    return c;
}

std::vector<TRemoteColumnDef> ParseColumnDefs(const std::vector<std::pair<std::string, std::string>> &keysAndDefs)
{
    std::vector<TRemoteColumnDef> out;
    for (const auto &[key, def] : keysAndDefs)
        out.push_back(ParseColumnDef(key, def));
    return out;
}

const std::vector<TRemoteColumnDef> &DefaultColumns(const std::string &type)
{
    static const std::vector<TRemoteColumnDef> hist = ParseColumnDefs({
        {"10200", "RecNo,60,No"},        {"10201", "Date,53,Date"},         {"10202", "Time,50,Time"},
        {"10203", "Line,56,Line"},       {"10204", "Id,57,Id"},             {"10205", "Way,58,Way"},
        {"10206", "SOO_Port,55,Port"},   {"10207", "SOO_Line,100,Cid"},     {"10208", "DBF:Nam:SOO_Line,100,Name"},
        {"10209", "Park,30,Par."},       {"10210", "RingTime,30,RingTime"}, {"10211", "CallTime,30,CallTime"},
        {"10212", "Wav,30,Wav"},
    });
    static const std::vector<TRemoteColumnDef> acc = ParseColumnDefs({
        {"10400", "RecNo,60,No"}, {"10401", "Date,53,Date"},   {"10402", "Time,50,Time"}, {"10403", "Way,35,Way"},
        {"10404", "State,29,State"}, {"10405", "Line,35,Line"}, {"10406", "Cid,159,Cid"},
        {"10407", "DBF:Nam:Cid,100,Name"},
    });
    static const std::vector<TRemoteColumnDef> log = ParseColumnDefs({
        {"10300", "RecNo,60,No"}, {"10301", "Date,53,Date"}, {"10302", "Time,50,Time"}, {"10303", "Txt,322,Txt"},
    });
    return type == "HIST" ? hist : type == "ACC" ? acc : log;
}

std::string OwnLineCondition(const std::string &line) { return "(LINE='" + line + "')"; }

std::string TodayCondition(const QDate &today) { return "DATUM=" + SqlDateString(0, today); }

std::string LastDaysCondition(int days, const QDate &today)
{
    return "(DATUM BETWEEN " + SqlDateString(-days, today) + " and " + SqlDateString(0, today) + ")";
}

std::string LinesCondition(const std::string &list)
{
    std::vector<std::string> terms;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        std::string item = list.substr(start, comma - start);
        item.erase(0, item.find_first_not_of(' '));
        item.erase(item.find_last_not_of(' ') + 1);
        if (!item.empty())
            terms.push_back(OwnLineCondition(item));
        start = comma + 1;
    }
    std::string joined;
    for (const std::string &t : terms)
        joined += (joined.empty() ? "" : " or ") + t;
    return terms.size() > 1 ? "(" + joined + ")" : joined;
}

std::string JoinConditions(const std::vector<std::string> &conditions)
{
    std::string filter;
    for (const std::string &c : conditions)
        if (!c.empty())
            filter = filter.empty() ? c : filter + " and " + c;
    return filter;
}

TRemoteTable::TRemoteTable(Sender send, NameLookup names) : send_(std::move(send)), names_(std::move(names))
{
    Now = [] {
        return static_cast<qint64>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
    };
}

int TRemoteTable::ColumnOf(const std::string &field) const
{
    for (size_t i = 0; i < Columns.size(); ++i)
        if (Columns[i].Field == field)
            return static_cast<int>(i);
    return -1;
}

int TRemoteTable::ColumnOfKey(const std::string &key) const
{
    for (size_t i = 0; i < Columns.size(); ++i)
        if (Columns[i].Key == key)
            return static_cast<int>(i);
    return -1;
}

void TRemoteTable::SendFilter(const std::string &filter)
{
    hasRecords_ = false;
    filter_ = filter;
    send_("SET", filter_);
}

TRemoteTable::TChange TRemoteTable::ProcessAnswer(const std::string &answer, int selectedRow)
{
    TChange change;
    change.OldLastRow = lastRow_;
    const std::string act = TAttrReader::GetAttr(answer, "Act");
    if (act == "SET" || act == "CHG") {
        records_ = TAttrReader::GetAttrInt(answer, "RecordCount");
        lastRow_ = std::max(records_, 1);
        lastRequestedRow_ = -1;
        outstanding_.clear();
        const bool lastTop = LastTop();
        if (act == "SET") {
            change.What = TChange::Reset;
            change.Select = lastTop ? 1 : lastRow_;
            hasRecords_ = records_ != 0;
            cache_.clear();
            return change;
        }
        change.What = TChange::Count;
        const int added = lastRow_ - change.OldLastRow;
        if (lastTop) {
            // The selected record keeps its selection however many arrived.
            if (selectedRow > 1) {
                change.Select = std::clamp(selectedRow + added, 1, lastRow_);
                change.TopShift = added;
            } else if (selectedRow == 1) {
                change.Select = 1;
            }
            hasRecords_ = records_ != 0;
        } else {
            if (selectedRow >= 1)
                change.Select = selectedRow == change.OldLastRow ? lastRow_ : std::min(selectedRow, lastRow_);
            if (!hasRecords_)
                hasRecords_ = records_ != 0;
        }
        return change;
    }
    if (act != "REC")
        return change;
    const int record = TAttrReader::GetAttrInt(answer, "RecNo");
    // A record outside the selection has no row.
    if (record < 1 || record > lastRow_)
        return change;
    std::vector<std::string> &cells = CellsOf(record);
    for (size_t i = 0; i < Columns.size(); ++i)
        cells[i] = FieldValue(Columns[i], answer);
    Store(record, answer);
    std::erase_if(outstanding_, [record](const auto &asked) { return asked.first == record; });
    change.What = TChange::Record;
    change.Row = RowOf(record);
    return change;
}

int TRemoteTable::RecordOf(int row) const { return LastTop() ? lastRow_ - row + 1 : row; }
int TRemoteTable::RowOf(int record) const { return LastTop() ? lastRow_ - record + 1 : record; }

std::string TRemoteTable::FieldValue(const TRemoteColumnDef &def, const std::string &answer) const
{
    if (names_ && IsDbfField(def.Field)) {
        const std::string attr = def.Field.size() > kDbfAttrStart ? def.Field.substr(kDbfAttrStart) : "";
        return names_(TAttrReader::GetAttr(answer, attr));
    }
    return TAttrReader::GetAttr(answer, def.Field);
}

std::string TRemoteTable::CellText(int col, int row) const
{
    if (!hasRecords_)
        return "-";
    const size_t index = static_cast<size_t>(col - 1);
    if (col < 1 || index >= Columns.size())
        return {};
    const int record = RecordOf(row);
    // The cached answer is drawn over the stored text; an empty value leaves
    // the stored text visible (a phone-book name, a recording found later).
    if (!(names_ && IsDbfField(Columns[index].Field))) {
        for (const auto &[n, answer] : cache_)
            if (n == record) {
                std::string value = TAttrReader::GetAttr(answer, Columns[index].Field);
                if (!value.empty())
                    return value;
                break;
            }
    }
    return StoredCell(col, row);
}

std::string TRemoteTable::StoredCell(int col, int row) const
{
    auto it = cells_.find(RecordOf(row));
    if (it == cells_.end() || col < 1 || static_cast<size_t>(col - 1) >= it->second.size())
        return {};
    return it->second[static_cast<size_t>(col - 1)];
}

void TRemoteTable::SetStoredCell(int col, int row, const std::string &text)
{
    if (col < 1 || static_cast<size_t>(col - 1) >= Columns.size() || row < 1 || row > lastRow_)
        return;
    CellsOf(RecordOf(row))[static_cast<size_t>(col - 1)] = text;
}

std::vector<std::string> &TRemoteTable::CellsOf(int record)
{
    auto it = cells_.find(record);
    if (it == cells_.end()) {
        if (cells_.size() >= kKeptRecords) {
            cells_.erase(cellOrder_.front());
            cellOrder_.pop_front();
        }
        cellOrder_.push_back(record);
        it = cells_.emplace(record, std::vector<std::string>()).first;
    }
    it->second.resize(Columns.size());
    return it->second;
}

void TRemoteTable::RowPainted(int row)
{
    if (!hasRecords_ || row < 1 || row > lastRow_)
        return;
    const int record = RecordOf(row);
    for (const auto &entry : cache_)
        if (entry.first == record)
            return;
    const qint64 now = Now();
    auto asked = std::find_if(outstanding_.begin(), outstanding_.end(),
                              [record](const auto &a) { return a.first == record; });
    // An answer that never came is asked for again, also for the last row asked.
    if (asked != outstanding_.end()) {
        if (now - asked->second < kRetryMs)
            return;
        outstanding_.erase(asked);
    } else if (row == lastRequestedRow_) {
        return;
    }
    lastRequestedRow_ = row;
    if (outstanding_.size() >= kOutstanding)
        outstanding_.pop_front();
    outstanding_.emplace_back(record, now);
    send_("REC", std::to_string(record));
}

std::string TRemoteTable::Cached(int record) const
{
    for (const auto &[n, answer] : cache_)
        if (n == record)
            return answer;
    return {};
}

void TRemoteTable::Store(int record, const std::string &answer)
{
    if (cache_.size() >= kCachedAnswers)
        cache_.erase(cache_.begin());
    for (auto &entry : cache_)
        if (entry.first == record) {
            entry.second = answer;
            return;
        }
    cache_.emplace_back(record, answer);
}

void TRemoteTable::LoadColumns(const TIniFile &ini, const std::string &section,
                               const std::vector<TRemoteColumnDef> &defaults, bool overlay)
{
    Columns = defaults;
    if (ini.SectionExists(section)) {
        const auto values = ini.ReadSectionValues(section);
        if (!overlay) {
            Columns = ParseColumnDefs(values);
        } else {
            for (const auto &[key, def] : values) {
                int i = ColumnOfKey(key);
                if (i >= 0)
                    Columns[static_cast<size_t>(i)] = ParseColumnDef(key, def);
                else
                    Columns.push_back(ParseColumnDef(key, def));
            }
            // Section reads leave out keys without a value: those remove a column.
            std::erase_if(Columns, [&](const TRemoteColumnDef &c) {
                return ini.ValueExists(section, c.Key) && ini.ReadString(section, c.Key, "").empty();
            });
        }
        for (TRemoteColumnDef &c : Columns)
            c.Saved = !overlay || ini.ValueExists(section, c.Key);
    }
    Shown = static_cast<int>(Columns.size());
    for (auto &[n, cells] : cells_)
        cells.resize(Columns.size());
}

void TRemoteTable::SaveColumns(TIniFile &ini, const std::string &section, const std::vector<int> &widths) const
{
    ini.EraseSection(section);
    for (int i = 0; i < Shown && static_cast<size_t>(i) < Columns.size(); ++i) {
        const TRemoteColumnDef &c = Columns[static_cast<size_t>(i)];
        const int width = static_cast<size_t>(i) < widths.size() ? widths[static_cast<size_t>(i)] : c.Width;
        ini.WriteString(section, c.Key, c.Field + "," + std::to_string(width) + "," + c.Title);
    }
}
