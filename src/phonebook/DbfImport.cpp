#include "DbfImport.h"

#include "AtomicFile.h"
#include "BookSwap.h"
#include "DbfText.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "PhoneBookStore.h"

#include <filesystem>

using dbftext::NextField;
using dbftext::Stored;

namespace {

using bookswap::kExportFiles;
// The fields of a line of each file; of the key lines in the memo files.
constexpr size_t kFields[7] = {11, 1, 8, 5, 5, 4, 4};
constexpr size_t kNameWidth = 40;

bool IsMemoFile(int i) { return i % 2 == 1 && i < 6; }
constexpr uintmax_t kMaxFileSize = uintmax_t(1) << 30;

std::string SortKey(const std::string &text)
{
    return Nls ? Nls->MakeSortKey(text) : text;
}

std::string Key(std::initializer_list<std::string> parts)
{
    std::string key;
    for (const std::string &p : parts)
        key += p + '\x01';
    return key;
}

} // namespace

// The fields of a line, left to right; missing ones read as "".
class TDbfImport::TFields {
public:
    explicit TFields(std::string_view line) : line_(line) {}
    std::string Next() { return NextField(line_, cursor_); }
    bool Flag() { return Next() == "T"; }

private:
    std::string_view line_;
    size_t cursor_ = 0;
};

TDbfImport::TDbfImport(TPhoneBookStore &store)
    : store_(store), firms_("Firms.dbf", TPhoneBookStore::FirmsDef()),
      repres_("Repres.dbf", TPhoneBookStore::RepresDef()), contacts_("Contacts.dbf", TPhoneBookStore::ContactsDef()),
      nums_("Nums.dbf", TPhoneBookStore::NumsDef())
{
}

TDbfImport::~TDbfImport()
{
    if (phase_ != kDone)
        Cancel();
}

void TDbfImport::Fail(TFailure failure, const std::string &detail, size_t line)
{
    failure_ = failure;
    detail_ = detail;
    failedLine_ = line;
    build_.reset();
    lock_.reset();
    phase_ = kDone;
}

void TDbfImport::Cancel()
{
    if (phase_ < kCommit)
        Fail(kCancelled, "");
}

// What a reference names: a later namesake by its exact reference, else the
// first record of the stored name; key makes the map's key of a name.
template <class TMap, class TKey>
static typename TMap::const_iterator Named(const TMap &map, const std::string &ref, TKey key)
{
    auto it = ref.size() > kNameWidth ? map.find(key(ref)) : map.end();
    return it != map.end() ? it : map.find(key(Stored(ref, kNameWidth)));
}

int TDbfImport::FindFirmId(const std::string &name) const
{
    auto it = Named(firmIds_, name, [](const std::string &n) { return n; });
    return it == firmIds_.end() ? -1 : it->second;
}

int TDbfImport::FindRepreId(int firmId, const std::string &surname) const
{
    auto it = Named(repreIds_, surname, [&](const std::string &n) { return Key({std::to_string(firmId), n}); });
    return it == repreIds_.end() ? -1 : it->second;
}

bool TDbfImport::NumExists(const std::string &number) const
{
    return numbers_.count(Stored(number, 20)) > 0;
}

static std::string ContactKey(int firmId, int repreId, const QDate &date, const std::string &subject)
{
    return Key({std::to_string(firmId), std::to_string(repreId),
                std::to_string(date.isValid() ? date.toJulianDay() : 0), Stored(subject, 40)});
}

bool TDbfImport::ContactExists(int firmId, int repreId, const QDate &date, const std::string &subject) const
{
    return contactRecs_.count(ContactKey(firmId, repreId, date, subject)) > 0;
}

// An empty reference is the firm itself (0); one that is not there is -1.
int TDbfImport::Owner(int firmId, const std::string &surname) const
{
    return surname.empty() ? 0 : FindRepreId(firmId, surname);
}

std::pair<int, int> TDbfImport::Owner(TFields &f) const
{
    int firmId = FindFirmId(f.Next());
    return {firmId, Owner(firmId, f.Next())};
}

void TDbfImport::Put(TTableBuilder &table, size_t rec, const char *field, const std::string &text)
{
    const int f = table.Field(field);
    if (Stored(text, table.Width(f)) != Stored(text, text.size()))
        ++cut_;
    table.SetString(rec, f, text);
}

// More fields than the format: damage like a file cut short.
bool TDbfImport::Overfull(int file, std::string_view line)
{
    if (!dbftext::Overfull(line, kFields[file]))
        return false;
    Fail(kOverfull, NameFromFs(FindFileNoCase(WithSlash(store_.DatabaseDir), kExportFiles[file])), line_ + 1);
    return true;
}

void TDbfImport::ReadFiles()
{
    const std::string &book = store_.DatabaseDir;
    // Nobody replaces the files while they are read, nor builds beside us.
    lock_.emplace(book, true);
    if (!lock_->Held())
        return lock_->Busy() ? Fail(kBusy, NameFromFs(book)) : Fail(kUnwritten, lock_->Path());
    // A set marked complete is never dropped: an earlier import goes in first.
    if (std::string failed = bookswap::Finish(book); !failed.empty())
        return Fail(kPending, failed);
    // Never a mix of two exports: one that could not be put in place whole goes first.
    if (std::string failed = bookswap::Finish(book, bookswap::kExport); !failed.empty())
        throw EDbError("Cannot replace " + failed);
    if (std::string taken = bookswap::Taken(book, bookswap::kImport); !taken.empty())
        return Fail(kTaken, taken);
    std::string dir = WithSlash(book);
    for (int i = 0; i < 7; ++i) {
        std::string path = FindFileNoCase(dir, kExportFiles[i]);
        std::error_code ec;
        uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec && size > kMaxFileSize)
            return Fail(kDamaged, NameFromFs(path));
        // Without its memo file a table's memos are empty.
        if (ec && IsMemoFile(i) && !std::filesystem::exists(path))
            continue;
        if (ec || !atomicfile::ReadAll(path, bytes_[i]))
            return Fail(kMissing, NameFromFs(path));
        bool ended = true;
        if (!dbftext::SplitLines(bytes_[i], lines_[i], ended))
            return Fail(kDamaged, NameFromFs(path));
        const std::vector<std::string_view> &lines = lines_[i];
        // Cut short: a memo file ends with the separator of its last entry; a
        // last line without its line end must at least have all its fields.
        if (!lines.empty() && (IsMemoFile(i) ? !dbftext::IsSeparator(lines.back())
                                             : !ended && !dbftext::Complete(lines.back(), kFields[i])))
            return Fail(kDamaged, NameFromFs(path), lines.size());
    }
    firmIds_.reserve(lines_[0].size());
    repreIds_.reserve(lines_[2].size());
    repreRecs_.reserve(lines_[2].size());
    contactRecs_.reserve(lines_[4].size());
    numbers_.reserve(lines_[6].size());
}

void TDbfImport::ReadFirm(std::string_view line)
{
    TFields f(line);
    std::string name = f.Next();
    // Every line is a firm: namesakes are told apart by their references.
    const std::string stored = Stored(name, kNameWidth);
    int id = nextFirmId_++;
    firmIds_.emplace(dbftext::Reference(stored, kNameWidth, ++firmNames_[stored]), id);
    size_t r = firms_.Append();
    firms_.SetFloat(r, firms_.Field("ID"), id);
    Put(firms_, r, "NAME", name);
    std::string city;
    for (const char *field : {"ADD_STREET", "ADD_CITY", "ADD_ZIP", "ADD_STATE", "ICO", "DIC", "EMAIL", "WWW"}) {
        std::string text = f.Next();
        Put(firms_, r, field, text);
        if (std::string_view(field) == "ADD_CITY")
            city = text;
    }
    firms_.SetBoolean(r, firms_.Field("DEALER"), f.Flag());
    firms_.SetBoolean(r, firms_.Field("SUPPLIER"), f.Flag());
    firms_.SetStrings(r, {{"XNAME", SortKey(stored)}, {"XADD_CITY", SortKey(Stored(city, kNameWidth))}});
}

void TDbfImport::ReadRepre(std::string_view line)
{
    TFields f(line);
    int firmId = FindFirmId(f.Next());
    std::string title = f.Next(), name = f.Next(), surname = f.Next();
    if (firmId < 0)
        return;
    // Every line is a representative; namesakes in a firm go by their references.
    const std::string firm = std::to_string(firmId), stored = Stored(surname, kNameWidth);
    const std::string ref = dbftext::Reference(stored, kNameWidth, ++repreNames_[Key({firm, stored})]);
    int id = nextRepreId_++;
    repreIds_.emplace(Key({firm, ref}), id);
    size_t r = repres_.Append();
    // A memo names its representative by the reference and the first name;
    // a hand-written one perhaps by the plain surname.
    repreRecs_.emplace(Key({firm, ref, Stored(name, kNameWidth)}), r);
    repreRecs_.emplace(Key({firm, stored, Stored(name, kNameWidth)}), r);
    repres_.SetFloat(r, repres_.Field("ID"), id);
    repres_.SetFloat(r, repres_.Field("IDF"), firmId);
    Put(repres_, r, "TITLE", title);
    Put(repres_, r, "NAME", name);
    Put(repres_, r, "SURNAME", surname);
    Put(repres_, r, "TITUL", f.Next());
    repres_.SetStrings(r, {{"XNAME", SortKey(Stored(name, 40))}, {"XSURNAME", SortKey(Stored(surname, 40))}});
    repres_.SetBoolean(r, repres_.Field("MUZ"), f.Flag());
    Put(repres_, r, "FCE", f.Next());
    Put(repres_, r, "EMAIL", f.Next());
}

void TDbfImport::ReadContact(std::string_view line)
{
    TFields f(line);
    auto [firmId, repreId] = Owner(f);
    QDate date = dbftext::TextToDate(f.Next());
    std::string subject = f.Next();
    std::string key = ContactKey(firmId, repreId, date, subject);
    if (firmId < 0 || repreId < 0 || contactRecs_.count(key))
        return;
    size_t r = contacts_.Append();
    contactRecs_.emplace(key, r);
    contacts_.SetDate(r, contacts_.Field("DATUM"), date);
    Put(contacts_, r, "SUBJECT", subject);
    contacts_.SetStrings(r, {{"XSUBJECT", SortKey(Stored(subject, 40))}});
    contacts_.SetBoolean(r, contacts_.Field("CHECKED"), f.Flag());
    contacts_.SetFloat(r, contacts_.Field("IDF"), firmId);
    contacts_.SetFloat(r, contacts_.Field("IDR"), repreId);
}

void TDbfImport::ReadNum(std::string_view line)
{
    TFields f(line);
    auto [firmId, repreId] = Owner(f);
    std::string type = f.Next(), number = f.Next();
    if (firmId < 0 || repreId < 0 || !numbers_.insert(Stored(number, 20)).second)
        return;
    size_t r = nums_.Append();
    nums_.SetFloat(r, nums_.Field("IDF"), firmId);
    nums_.SetFloat(r, nums_.Field("IDR"), repreId);
    Put(nums_, r, "TYPE", type);
    Put(nums_, r, "NUM", number);
}

void TDbfImport::ReadMemo()
{
    const std::vector<std::string_view> &lines = lines_[phase_ - 1];
    if (Overfull(phase_ - 1, lines[line_]))
        return;
    TFields f(lines[line_++]);
    std::string memo;
    for (bool first = true; line_ < lines.size() && !dbftext::IsSeparator(lines[line_]); first = false)
        memo += (first ? "" : "\n") + std::string(lines[line_++]);
    ++line_; // the separator
    if (memo.empty())
        return;
    int firmId = FindFirmId(f.Next());
    if (phase_ == kFirmMemos) {
        if (firmId > 0)
            firms_.SetMemo(static_cast<size_t>(firmId - 1), firms_.Field("MEMO"), memo);
    } else if (phase_ == kRepreMemos) {
        f.Next(); // the title and the degree after the name only tell the reader who it is
        std::string name = f.Next(), surname = f.Next();
        auto it = Named(repreRecs_, surname, [&](const std::string &n) {
            return Key({std::to_string(firmId), n, Stored(name, kNameWidth)});
        });
        if (it != repreRecs_.end())
            repres_.SetMemo(it->second, repres_.Field("MEMO"), memo);
    } else {
        int repreId = Owner(firmId, f.Next());
        QDate date = dbftext::TextToDate(f.Next());
        auto it = contactRecs_.find(ContactKey(firmId, repreId, date, f.Next()));
        if (firmId > 0 && repreId >= 0 && it != contactRecs_.end())
            contacts_.SetMemo(it->second, contacts_.Field("MEMO"), memo);
    }
}

void TDbfImport::WriteTables()
{
    build_.emplace(store_.DatabaseDir, bookswap::kImport);
    for (TTableBuilder *t : {&firms_, &repres_, &contacts_, &nums_})
        t->Write(build_->Dir());
    build_->Built();
}

void TDbfImport::Commit()
{
    store_.CloseTables();
    std::string failed;
    bookswap::TCommit done = build_->Commit(failed);
    build_.reset();
    // Opening tries once more to finish a set that is marked complete.
    store_.OpenTables();
    phase_ = kDone;
    if (done == bookswap::TCommit::kPending && bookswap::Pending(store_.DatabaseDir))
        Fail(kPending, failed);
    else if (done == bookswap::TCommit::kUndone)
        Fail(kUnwritten, failed);
    else if (!store_.TablesOpen)
        Fail(kNotOpened, store_.OpenError);
    lock_.reset();
}

bool TDbfImport::Step(int maxRows)
{
    try {
        if (phase_ == kRead) {
            ReadFiles();
            if (phase_ == kDone)
                return false;
            phase_ = kFirms;
            line_ = 0;
        }
        for (int n = 0; n < maxRows && phase_ < kWrite; ++n) {
            const std::vector<std::string_view> &lines = lines_[phase_ - 1];
            if (line_ >= lines.size()) {
                phase_ = static_cast<TPhase>(phase_ + 1);
                line_ = 0;
                continue;
            }
            ++rows_;
            if (phase_ != kFirmMemos && phase_ != kRepreMemos && phase_ != kContactMemos
                && Overfull(phase_ - 1, lines[line_]))
                break;
            switch (phase_) {
            case kFirms: ReadFirm(lines[line_++]); break;
            case kRepres: ReadRepre(lines[line_++]); break;
            case kContacts: ReadContact(lines[line_++]); break;
            case kNums: ReadNum(lines[line_++]); break;
            default: ReadMemo(); break;
            }
        }
        if (phase_ == kWrite) {
            WriteTables();
            phase_ = kCommit;
        } else if (phase_ == kCommit) {
            Commit();
        }
    } catch (const bookswap::ETaken &e) {
        Fail(kTaken, e.what());
    } catch (const std::exception &e) {
        if (phase_ < kCommit)
            Fail(kError, e.what());
    }
    return phase_ != kDone;
}
