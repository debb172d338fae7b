#include "DbfExport.h"

#include "AtomicFile.h"
#include "BookSwap.h"
#include "DbfText.h"
#include "Paths.h"
#include "PhoneBookStore.h"

#include <initializer_list>

namespace {

constexpr size_t kNameWidth = 40;

struct TSheet {
    const char *File; // without extension
    std::initializer_list<const char *> Fields;
    size_t MemoKey;   // the first fields of a line key its memo entry; 0: no memos
    int Named;        // the field the other files name a record by; -1: none
    size_t Shown;     // the field that names a row to the user
};

const TSheet kSheets[] = {
    {"Firms", {"NAME", "ADD_STREET", "ADD_CITY", "ADD_ZIP", "ADD_STATE", "ICO", "DIC", "EMAIL", "WWW", "DEALER",
               "SUPPLIER"}, 1, 0, 0},
    {"Repres", {"IDF", "TITLE", "NAME", "SURNAME", "TITUL", "MUZ", "FCE", "EMAIL"}, 5, 3, 3},
    {"Contacts", {"IDF", "IDR", "DATUM", "SUBJECT", "CHECKED"}, 4, -1, 3},
    {"Nums", {"IDF", "IDR", "TYPE", "NUM"}, 0, -1, 3},
};

// Text that would end its field or its line early when read back.
bool BreaksLine(const std::string &text)
{
    return text.find_first_of(";\r\n") != std::string::npos;
}

// A memo line the reader would take for the end of the entry.
bool EndsMemoEarly(const std::string &memo)
{
    for (size_t at = 0; at < memo.size();) {
        size_t end = std::min(memo.find_first_of("\r\n", at), memo.size());
        if (dbftext::IsSeparator(std::string_view(memo).substr(at, end - at)))
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

// The tables are read and the files written under the staging lock: no
// import is moved in between two tables, nor an export beside ours.
TDbfExport::TDbfExport(TPhoneBookStore &store) : store_(store)
{
    outcome_ = bookswap::TCommit::kUndone;
    lock_.emplace(store_.DatabaseDir, true);
    if (!lock_->Held()) {
        if (lock_->Busy())
            Refuse(kBusy, NameFromFs(store_.DatabaseDir));
        else
            failed_ = lock_->Path();
        End();
    } else if (!ClearWay()) {
        End();
    } else {
        Begin();
    }
}

void TDbfExport::End()
{
    cursor_.Close();
    phase_ = kDone;
    lock_.reset();
}

void TDbfExport::Begin()
{
    TDbCursor *tables[] = {&store_.TableFirm, &store_.TableRepre, &store_.TableContact, &store_.TableNum};
    TDbCursor &table = *tables[phase_];
    cursor_.OpenLike(table);
    // The window's sort, but every row; numbers in the order they were added.
    if (phase_ != kNums)
        cursor_.SetIndexName(table.IndexName());
    columns_.clear();
    for (const char *name : kSheets[phase_].Fields) {
        TDbField f = cursor_.FieldByName(name);
        std::string n = name;
        columns_.push_back({f, n == "IDF" ? 'f' : n == "IDR" ? 'r' : f.DataType()});
    }
    memo_.reset();
    if (kSheets[phase_].MemoKey)
        memo_ = cursor_.FieldByName("MEMO");
    cursor_.First();
}

// How the other files name the current firm or representative: namesakes
// (of one firm, for representatives) by their place among them.
std::string TDbfExport::Reference(const std::string &text)
{
    const std::string name = dbftext::Stored(text, kNameWidth);
    const std::string owner = phase_ == kRepres ? Text(columns_[0]) + '\x01' : std::string();
    std::string ref = dbftext::Reference(name, kNameWidth, ++named_[owner + name]);
    TDbField id = cursor_.FieldByName("ID");
    if (!id.IsNull())
        (phase_ == kFirms ? firmNames_ : repreSurnames_).emplace(id.AsFloat(), ref);
    return ref;
}

std::string TDbfExport::Text(const TColumn &column)
{
    switch (column.Kind) {
    case 'f':
    case 'r': {
        const auto &names = column.Kind == 'f' ? firmNames_ : repreSurnames_;
        auto it = column.Field.IsNull() ? names.end() : names.find(column.Field.AsFloat());
        return it == names.end() ? std::string() : it->second;
    }
    case 'L': return dbftext::Flag(column.Field.AsBoolean());
    case 'D': return dbftext::DateToText(column.Field.AsDate());
    default: return column.Field.AsString();
    }
}

void TDbfExport::WriteRow()
{
    std::string line;
    std::string key;
    const TSheet &sheet = kSheets[phase_];
    bool unreadable = false;
    for (size_t i = 0; i < columns_.size(); ++i) {
        std::string text = Text(columns_[i]);
        // A contact of a representative who is gone cannot be read back.
        if (phase_ == kContacts && text.empty()
            && (i == 0 || (i == 1 && columns_[1].Field.AsFloat() != 0)))
            return;
        // References are their firm's or representative's own text, named there.
        unreadable = unreadable || (columns_[i].Kind != 'f' && columns_[i].Kind != 'r' && BreaksLine(text));
        line += text;
        line += ';';
        if (i < sheet.MemoKey)
            key += (static_cast<int>(i) == sheet.Named ? Reference(text) : text) + ';';
    }
    std::string memo = sheet.MemoKey ? memo_->AsString() : std::string();
    if (unreadable || EndsMemoEarly(memo))
        unreadable_.push_back({phase_, Text(columns_[sheet.Shown]), phase_ == kFirms ? "" : Text(columns_[0])});
    lines_[phase_] += line + "\r\n";
    if (kSheets[phase_].MemoKey == 0)
        return;
    if (!memo.empty())
        memos_[phase_] += key + "\r\n" + memo + "\r\n" + dbftext::kSeparator + "\r\n";
}

void TDbfExport::Refuse(TRefusal why, const std::string &what)
{
    refused_ = why;
    failed_ = what;
}

// Sets marked complete are never dropped: an import waiting to go in goes
// first, and so does an earlier export, or a failure now would leave its
// files mixed with the old ones.
bool TDbfExport::ClearWay()
{
    const std::string &book = store_.DatabaseDir;
    if (std::string failed = bookswap::Finish(book); !failed.empty()) {
        Refuse(kImportPending, failed);
        return false;
    }
    if (failed_ = bookswap::Finish(book, bookswap::kExport); !failed_.empty()) {
        outcome_ = bookswap::TCommit::kPending;
        return false;
    }
    if (std::string taken = bookswap::Taken(book, bookswap::kExport); !taken.empty()) {
        Refuse(kTaken, taken);
        return false;
    }
    return true;
}

// The new set goes in beside the old one and is put in place whole.
void TDbfExport::WriteFiles()
{
    const std::string &book = store_.DatabaseDir;
    std::optional<bookswap::TBuild> build;
    try {
        build.emplace(book, bookswap::kExport);
    } catch (const bookswap::ETaken &e) {
        return Refuse(kTaken, e.what());
    } catch (const std::exception &) {
        failed_ = NameFromFs(bookswap::StagingDir(book, bookswap::kExport));
        return;
    }
    for (int i = 0; i < 4; ++i) {
        Stage(build->Dir(), std::string(kSheets[i].File) + ".txt", lines_[i]);
        if (kSheets[i].MemoKey)
            Stage(build->Dir(), std::string(kSheets[i].File) + ".txm", memos_[i]);
    }
    if (!failed_.empty())
        return; // the build drops what it holds
    build->Built();
    outcome_ = build->Commit(failed_);
}

void TDbfExport::Stage(const std::string &dir, const std::string &name, const std::string &bytes)
{
    if (!atomicfile::Write(dir + name, bytes))
        failed_ += (failed_.empty() ? "" : ", ") + NameFromFs(FindFileNoCase(WithSlash(store_.DatabaseDir), name));
}

bool TDbfExport::Step(int maxRows)
{
    for (int n = 0; n < maxRows && phase_ < kWrite; ++n) {
        if (cursor_.Eof()) {
            phase_ = static_cast<TPhase>(phase_ + 1);
            if (phase_ < kWrite)
                Begin();
            continue;
        }
        WriteRow();
        ++rows_;
        cursor_.Next();
    }
    if (phase_ == kWrite) {
        cursor_.Close();
        if (unreadable_.empty())
            WriteFiles();
        End();
    }
    return phase_ != kDone;
}
