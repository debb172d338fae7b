// The staging folders of import and export: what the program did not make
// under their names, sets marked complete that nothing may drop or write
// past, and two programs on one book folder.
#include "BookFiles.h"
#include "FailingDisk.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

// Everything below path as it stands: links by their targets, files by their
// bytes.
std::map<std::string, std::string> Tree(const std::string &path)
{
    std::map<std::string, std::string> tree;
    auto put = [&](const fs::path &p, const std::string &name) {
        const fs::file_status st = fs::symlink_status(p);
        tree[name] = fs::is_symlink(st)        ? "-> " + fs::read_symlink(p).string()
                     : fs::is_regular_file(st) ? ReadBytes(p.string())
                                               : std::string("/");
    };
    put(path, ".");
    if (fs::is_directory(fs::symlink_status(path)))
        for (const auto &e : fs::recursive_directory_iterator(path))
            put(e.path(), fs::relative(e.path(), path).string());
    return tree;
}

class Staging : public BookFiles {
protected:
    // A new book as an import builds it (Gamma is not in the files), and
    // the old one back in place.
    void TwoBooks()
    {
        Fill();
        Export();
        Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Gamma"}});
        oldBook = KeepTables(oldTables);
        ASSERT_EQ(Import(), TDbfImport::kNone);
        newBook = KeepTables(newTables);
        PutBackTables(oldTables);
    }
    // Another program's import marked complete, with these files moved in.
    void Pending(std::initializer_list<const char *> moved)
    {
        const std::string staging = bookswap::StagingDir(Dir());
        fs::create_directories(staging);
        fs::copy(newTables.Path(), staging);
        WriteBytes(staging + "Complete", "");
        for (const char *f : moved)
            fs::rename(staging + f, Dir() + f);
    }
    // Another program's hold on the staging lock, until the descriptor is closed.
    int Hold()
    {
        int fd = ::open((Dir() + "Staging.lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        EXPECT_EQ(::flock(fd, LOCK_EX), 0);
        return fd;
    }
    TDbfExport::TRefusal ExportRefused()
    {
        TDbfExport exp(*store);
        while (exp.Step(1000)) {
        }
        failedAt = {exp.Failed(), 0};
        return exp.Refused();
    }

    TempDir oldTables, newTables;
    std::string oldBook, newBook;
};

// Another program: body runs in a process of its own; its result is the exit status.
pid_t Program(const std::function<int()> &body)
{
    pid_t pid = fork();
    if (pid == 0)
        try {
            _exit(body());
        } catch (...) {
            _exit(99);
        }
    return pid;
}

int Result(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// A link (to a folder elsewhere, absolute or relative, or to nothing), a file
// or a folder of the user's under a staging name: a start leaves it and all it
// leads to as it was, and the command that needs the name refuses and names it.
TEST_F(Staging, WhatTheProgramDidNotMakeUnderAStagingNameIsLeftAndNamed)
{
    Fill();
    Export();
    // Someone's folder elsewhere holding what looks like a set of either kind.
    TempDir outside, aside;
    WriteBytes(outside.File("Firms.dbf"), "mine");
    WriteBytes(outside.File("Firms.txt"), "mine too");
    const std::map<std::string, std::function<void(const std::string &)>> plants = {
        {"absolute link", [&](const std::string &at) { fs::create_directory_symlink(outside.Path(), at); }},
        {"relative link",
         [&](const std::string &at) { fs::create_directory_symlink(fs::relative(outside.Path(), Dir()), at); }},
        {"link to nothing", [](const std::string &at) { fs::create_symlink("nowhere", at); }},
        {"file", [](const std::string &at) { WriteBytes(at, "a file"); }},
        {"folder", [](const std::string &at) {
             fs::create_directories(at + "/sub");
             WriteBytes(at + "/Firms.txt", "the user's");
             WriteBytes(at + "/notes.txt", "the user's");
         }},
    };
    for (const char *set : {bookswap::kImport, bookswap::kExport})
        for (const auto &[what, plant] : plants) {
            const std::string at = Dir() + set, said = std::string(set) + ", " + what;
            const std::string other = set == bookswap::kImport ? "Firms.txt" : "Firms.dbf";
            fs::rename(outside.File(other), aside.File(other));
            plant(at);
            const auto outsideBefore = Tree(outside.Path()), planted = Tree(at);
            store.reset();
            store = Open();
            ASSERT_TRUE(store->TablesOpen) << said;
            const std::string book = Book();
            const auto files = Files();
            if (set == bookswap::kImport) {
                EXPECT_EQ(Import(), TDbfImport::kTaken) << said;
                EXPECT_EQ(failedAt.first, at) << said;
                EXPECT_EQ(Book(), book) << said;
                EXPECT_EQ(ExportRefused(), TDbfExport::kNotRefused) << said; // the other name is free
            } else {
                EXPECT_EQ(ExportRefused(), TDbfExport::kTaken) << said;
                EXPECT_EQ(failedAt.first, at) << said;
                EXPECT_EQ(Files(), files) << said;
                EXPECT_EQ(Import(), TDbfImport::kNone) << said;
            }
            store.reset();
            store = Open();
            EXPECT_EQ(Tree(at), planted) << said;
            EXPECT_EQ(Tree(outside.Path()), outsideBefore) << said;
            fs::remove_all(at); // the link itself, not what it leads to
            fs::rename(aside.File(other), outside.File(other));
        }
    // A link under the lock's name: never followed, and named.
    const std::string lock = Dir() + "Staging.lock";
    fs::remove(lock);
    fs::create_symlink(outside.File("Firms.txt"), lock);
    const auto outsideBefore = Tree(outside.Path());
    EXPECT_EQ(Import(), TDbfImport::kUnwritten);
    EXPECT_EQ(failedAt.first, lock);
    EXPECT_EQ(ExportRefused(), TDbfExport::kNotRefused);
    EXPECT_EQ(failedAt.first, lock);
    EXPECT_EQ(Tree(outside.Path()), outsideBefore);
    fs::remove(lock);

    // What a program left unfinished (killed mid-build) is its own, and goes.
    const std::string staging = bookswap::StagingDir(Dir());
    fs::create_directories(staging);
    for (const char *f : {"Firms.dbf", "Firms.cdx.a1B2c3"})
        WriteBytes(staging + f, "half");
    store.reset();
    store = Open();
    EXPECT_FALSE(fs::exists(staging));
}

// An import marked complete whose move-in stopped part way, the disk failing
// for good: the book stays closed, a second import is refused as pending,
// and nothing of the set is dropped. With the disk sound, it is in place.
TEST_F(Staging, AnImportMarkedCompleteIsNeverDroppedByALaterImport)
{
    TwoBooks();
    store.reset();
    Pending({"Firms.dbf", "Nums.dbf"});
    const auto before = Tree(Dir());
    {
        failingdisk::TArmed disk(Dir(), 1, true);
        store = Open();
        EXPECT_FALSE(store->TablesOpen);
        EXPECT_EQ(Import(), TDbfImport::kPending);
        EXPECT_NE(failedAt.first, "");
    }
    EXPECT_EQ(Tree(Dir()), before);
    store = Open();
    ASSERT_TRUE(store->TablesOpen);
    EXPECT_EQ(Book(), newBook);
    EXPECT_FALSE(fs::exists(bookswap::StagingDir(Dir())));
}

// A program with the old book open saves, deletes or exports while another
// program's import waits to be moved in: nothing is written into the files
// that import replaces. It is put in place first (the save is then refused as
// into any replaced book), or, when that cannot be done now, the command is
// refused and the import still waits.
TEST_F(Staging, NothingIsWrittenPastAnImportThatWaits)
{
    TwoBooks();
    Pending({});
    const auto before = Tree(Dir());
    auto save = [&] { Add(store->TableFirm, {{"NAME", "Typed"}}); };
    auto erase = [&] {
        store->TableFirm.First();
        store->TableFirm.Delete();
    };
    for (const auto &write : {std::function<void()>(save), std::function<void()>(erase)}) {
        {
            failingdisk::TArmed disk(Dir(), 1, true);
            EXPECT_THROW(write(), bookswap::EPending);
            store->TableFirm.Cancel();
        }
        const int other = Hold(); // another program moves it in just now
        EXPECT_THROW(write(), bookswap::EPending);
        store->TableFirm.Cancel();
        ::close(other);
    }
    {
        failingdisk::TArmed disk(Dir(), 1, true);
        EXPECT_EQ(ExportRefused(), TDbfExport::kImportPending);
    }
    EXPECT_EQ(Tree(Dir()), before);
    EXPECT_THROW(save(), EDbReplaced);
    store->TableFirm.Cancel();
    EXPECT_FALSE(fs::exists(bookswap::StagingDir(Dir())));
    store = Open();
    EXPECT_EQ(Book(), newBook);
}

// Files of a build that changed before its marker (gone, replaced, another
// beside them): the set is taken back and the old files stand.
TEST_F(Staging, ABuildIsMarkedOnlyAsItWasWritten)
{
    Fill();
    Export();
    const auto files = Files();
    const std::map<std::string, std::function<void(const std::string &)>> changes = {
        {"Nums.txt", [](const std::string &dir) { fs::remove(dir + "Nums.txt"); }},
        {"Firms.txt", [](const std::string &dir) {
             WriteBytes(dir + "other", "other");
             fs::rename(dir + "other", dir + "Firms.txt");
         }},
        {"Repres.txt", [](const std::string &dir) { WriteBytes(dir + "Repres.txt", "longer than before"); }},
        {"", [](const std::string &dir) { WriteBytes(dir + "Firms.txt.Abc123", ""); }},
    };
    for (const auto &[changed, change] : changes) {
        bookswap::TLock lock(Dir(), true);
        bookswap::TBuild build(Dir(), bookswap::kExport);
        for (const char *f : bookswap::kExportFiles)
            WriteBytes(build.Dir() + f, "new");
        build.Built();
        change(build.Dir());
        std::string failed;
        EXPECT_EQ(build.Commit(failed), bookswap::TCommit::kUndone) << changed;
        EXPECT_EQ(failed, changed.empty() ? Dir() + bookswap::kExport : build.Dir() + changed);
        EXPECT_EQ(Files(), files) << changed;
        EXPECT_FALSE(fs::exists(build.Dir())) << changed;
    }
}

// An export under way reads the book whole: another program's import waits
// for it, or is refused, and the files written are the book as it was.
TEST_F(Staging, AnExportUnderWayIsNeverMixedWithAnImport)
{
    TwoBooks();
    Export();
    const auto files = Files();
    TDbfExport exp(*store);
    exp.Step(1);
    EXPECT_EQ(Result(Program([&] { return Import(); })), TDbfImport::kBusy);
    while (exp.Step(1)) {
    }
    EXPECT_EQ(exp.Failed(), "");
    EXPECT_EQ(Files(), files);
}

// Another program holds the staging lock while its set is being built: a
// start leaves the set alone, and an import or export waits, then refuses.
// Once that program is gone, what it left is cleared at the next start.
TEST_F(Staging, ASetAnotherProgramBuildsIsLeftAloneAndWaitedFor)
{
    Fill();
    Export();
    const std::string staging = bookswap::StagingDir(Dir());
    fs::create_directories(staging);
    WriteBytes(staging + "Firms.dbf", "being written");
    const int other = Hold();
    store.reset();
    store = Open();
    EXPECT_TRUE(store->TablesOpen);
    EXPECT_EQ(ReadBytes(staging + "Firms.dbf"), "being written");
    const std::string book = Book();
    const auto files = Files();
    EXPECT_EQ(Import(), TDbfImport::kBusy);
    EXPECT_EQ(ExportRefused(), TDbfExport::kBusy);
    EXPECT_EQ(Book(), book);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(ReadBytes(staging + "Firms.dbf"), "being written");
    ::close(other);
    store.reset();
    store = Open();
    EXPECT_FALSE(fs::exists(staging));
}

// Two programs on one folder, each a process of its own: one starts again
// and again while the other imports or exports, or both import at once. No
// set is dropped or mixed: every import or export either lands whole or is
// refused as busy, and the book and files are the new ones.
TEST_F(Staging, TwoProgramsNeverDropOrMixEachOthersSets)
{
    std::string firms, nums;
    for (int i = 0; i < 3000; ++i) {
        firms += "Firm " + std::to_string(i) + ";Street;City;11000;CZ;;;;;F;F;\r\n";
        nums += "Firm " + std::to_string(i) + ";;T;" + std::to_string(600000000 + i) + ";\r\n";
    }
    PutFiles({{"Firms.txt", firms}, {"Nums.txt", nums}, {"Firms.txm", ""}, {"Repres.txt", ""},
              {"Repres.txm", ""}, {"Contacts.txt", ""}, {"Contacts.txm", ""}});
    oldBook = KeepTables(oldTables);
    const auto bigFiles = Files();
    ASSERT_EQ(Import(), TDbfImport::kNone);
    newBook = Book();
    Export();
    const auto exported = Files();
    auto startsMeanwhile = [&](pid_t program) {
        int status = 0;
        while (waitpid(program, &status, WNOHANG) == 0)
            Open();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    for (int round = 0; round < 8; ++round) {
        PutBackTables(oldTables);
        PutFiles(bigFiles);
        EXPECT_EQ(startsMeanwhile(Program([&] { return Import(); })), TDbfImport::kNone) << round;
        store = Open();
        EXPECT_EQ(Book(), newBook) << round;
        PutFiles(bigFiles);
        EXPECT_EQ(startsMeanwhile(Program([&] { return ExportRefused() + (failedAt.first.empty() ? 0 : 10); })), 0)
            << round;
        EXPECT_EQ(Files(), exported) << round;

        PutBackTables(oldTables);
        PutFiles(bigFiles);
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t other = Program([&] {
            ::close(go[1]);
            char c;
            return ::read(go[0], &c, 1) == 0 ? Import() : 98;
        });
        ::close(go[0]);
        ::close(go[1]); // both import now
        const TDbfImport::TFailure ours = Import();
        const int theirs = Result(other);
        EXPECT_TRUE(ours == TDbfImport::kNone || ours == TDbfImport::kBusy) << round << ": " << ours;
        EXPECT_TRUE(theirs == TDbfImport::kNone || theirs == TDbfImport::kBusy) << round << ": " << theirs;
        EXPECT_TRUE(ours == TDbfImport::kNone || theirs == TDbfImport::kNone) << round;
        store = Open();
        EXPECT_EQ(Book(), newBook) << round;
        for (const char *set : {bookswap::kImport, bookswap::kExport})
            EXPECT_FALSE(fs::exists(bookswap::StagingDir(Dir(), set))) << round;
    }
}
