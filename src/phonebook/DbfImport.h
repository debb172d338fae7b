#pragma once
// Replaces the phone book by the seven exchange text files of its folder.
// Every file is read and checked first; the new tables are built beside the
// old ones and moved in only when all went well (see BookSwap.h), so a bad
// set of files, a cancel or a crash keeps the old book whole. Works a slice
// of lines per step so that the caller's event loop keeps running.
#include "BookSwap.h"
#include "TableBuilder.h"

#include <QDate>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TPhoneBookStore;

class TDbfImport {
public:
    // kOverfull: a line with more fields than its file's format; damage too.
    // kUnwritten: the new tables could not be made durable, and were dropped
    // (or the staging lock's file could not be had, before anything was built).
    // kPending and kNotOpened keep no old book: kPending, a new one marked
    // complete that the next open puts in place (an earlier import's, which
    // refuses this one); kNotOpened, a new one in place that would not open.
    // kBusy: another program imports or exports in the book folder; kTaken:
    // something the program did not make holds the staging folder's name.
    enum TFailure { kNone, kMissing, kDamaged, kError, kCancelled, kOverfull, kUnwritten, kPending, kNotOpened,
                    kBusy, kTaken };

    explicit TDbfImport(TPhoneBookStore &store);
    ~TDbfImport();
    TDbfImport(const TDbfImport &) = delete;
    TDbfImport &operator=(const TDbfImport &) = delete;

    // Handles up to maxRows lines; false once the import has ended.
    bool Step(int maxRows);
    bool Finished() const { return phase_ == kDone; }
    // Drops what was built; the book stays as it was.
    void Cancel();
    long Rows() const { return rows_; }
    // Why the import did not end well, and the file or the error it concerns.
    TFailure Failure() const { return failure_; }
    const std::string &Detail() const { return detail_; }
    // The line of that file at fault (from 1); 0 when no line is.
    size_t Line() const { return failedLine_; }
    // Values longer than their column, stored cut.
    long Cut() const { return cut_; }

    // Lookups over the rows read so far. Names compare as the tables store
    // them (cut to the field's width, trailing blanks dropped), case-sensitive;
    // namesakes by their references (dbftext::Reference).
    int FindFirmId(const std::string &name) const;
    // A representative is found within the firm: namesakes elsewhere are others.
    int FindRepreId(int firmId, const std::string &surname) const;
    bool NumExists(const std::string &number) const;
    bool ContactExists(int firmId, int repreId, const QDate &date, const std::string &subject) const;

private:
    enum TPhase { kRead, kFirms, kFirmMemos, kRepres, kRepreMemos, kContacts, kContactMemos, kNums, kWrite,
                  kCommit, kDone };
    void ReadFiles();
    void ReadFirm(std::string_view line);
    void ReadRepre(std::string_view line);
    void ReadContact(std::string_view line);
    void ReadNum(std::string_view line);
    // The memo entry whose key line is current; moves past its separator.
    void ReadMemo();
    void WriteTables();
    void Commit();
    void Fail(TFailure failure, const std::string &detail, size_t line = 0);
    bool Overfull(int file, std::string_view line);
    void Put(TTableBuilder &table, size_t rec, const char *field, const std::string &text);
    class TFields;
    int Owner(int firmId, const std::string &surname) const;
    // The firm and representative IDs of a line's first two fields.
    std::pair<int, int> Owner(TFields &fields) const;

    TPhoneBookStore &store_;
    TPhase phase_ = kRead;
    TFailure failure_ = kNone;
    std::string detail_;
    size_t failedLine_ = 0;
    long rows_ = 0, cut_ = 0;
    // Held from the first read to the commit; the build goes first.
    std::optional<bookswap::TLock> lock_;
    std::optional<bookswap::TBuild> build_;

    std::string bytes_[7];
    std::vector<std::string_view> lines_[7];
    size_t line_ = 0;

    TTableBuilder firms_, repres_, contacts_, nums_;
    int nextFirmId_ = 1, nextRepreId_ = 1;
    std::unordered_map<std::string, int> firmIds_, repreIds_;
    // How many records of a stored name (of a firm, for representatives) came so far.
    std::unordered_map<std::string, int> firmNames_, repreNames_;
    std::unordered_map<std::string, size_t> repreRecs_, contactRecs_;
    std::unordered_set<std::string> numbers_;
};
