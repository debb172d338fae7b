// The phone-book window over a small book: selection, the delete cascade,
// showing and adding numbers, the navigators' dialogs, buttons, sorting,
// the wheel and the settings it keeps.
#include "BookSwap.h"
#include "BookUtil.h"
#include "Dbf.h"
#include "DbView.h"
#include "DbfImport.h"
#include "Dbffind.h"
#include "Dbfcont.h"
#include "Dbffr.h"
#include "Dbffirm.h"
#include "Dbfnum.h"
#include "Dbfrepre.h"
#include "Fce.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "PanelCalls.h"
#include "Paths.h"
#include "PhoneBookStore.h"
#include "TempDir.h"
#include "Timer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QHeaderView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <utility>

namespace {

// Firm 1 "Alfa" with representative 10, firm 2 "Beta" with representative 20;
// each firm has a number and a contact of its own and of its representative.
class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = DataDir;
        DataDir = data.Path();
        SetProgramDirForTesting(lang.Path());
        Texts("[Texty]\r\n250=Needs CMD\r\n2010=Man\r\n2011=Woman\r\n9100=Gone meanwhile\r\n9101=Replaced meanwhile\r\n"
              "9102=Owner gone\r\n9104=Note not stored:\r\n9105=Import waits\r\n");
        Nls = &nls;
    }
    void Texts(const std::string &file)
    {
        WriteBytes(lang.File("Talvodel.tst"), file);
        nls.SetLanguage("tst");
        nls.LoadTexts();
        nls.CloseFile();
    }
    void TearDown() override
    {
        window.reset();
        PanelCalls = {};
        Nls = nullptr;
        SetProgramDirForTesting("");
        DataDir = saved_;
    }
    using Fields = std::initializer_list<std::pair<const char *, std::string>>;
    static void Add(TPhoneBookStore &s, TDbCursor &c, Fields fields)
    {
        c.Append();
        for (auto &[f, v] : fields)
            c.FieldByName(f).SetAsString(v);
        s.Post(c);
    }
    void Fill()
    {
        TIniFile ini(ProgramIniPath());
        TPhoneBookStore s(ini, DataDir);
        s.OpenTables();
        auto add = [&](TDbCursor &c, Fields fields) { Add(s, c, fields); };
        add(s.TableFirm, {{"ID", "1"}, {"NAME", "Alfa"}, {"ADD_ZIP", "11000"}});
        add(s.TableFirm, {{"ID", "2"}, {"NAME", "Beta"}, {"DEALER", "T"}});
        add(s.TableRepre, {{"ID", "10"}, {"IDF", "1"}, {"SURNAME", "Novak"}, {"XSURNAME", "NOVAK"}, {"TITLE", "Ing"}});
        add(s.TableRepre, {{"ID", "20"}, {"IDF", "2"}, {"SURNAME", "Kral"}, {"XSURNAME", "KRAL"}});
        for (const char *idf : {"1", "2"})
            for (const char *idr : {"0", idf[0] == '1' ? "10" : "20"}) {
                add(s.TableNum, {{"IDF", idf}, {"IDR", idr}, {"TYPE", "T"}, {"NUM", std::string("060") + idf + idr}});
                add(s.TableContact, {{"IDF", idf}, {"IDR", idr}, {"SUBJECT", std::string("S") + idf + idr}});
            }
    }
    TFDbf &Filled()
    {
        Fill();
        return Open();
    }
    TFDbf &Open()
    {
        window = std::make_unique<TFDbf>();
        for (TDbNavigatorLink *n : {window->NavFirm, window->NavRepre, window->NavNum, window->NavContact})
            n->ConfirmDelete = [] { return true; };
        return *window;
    }
    // Runs what for the next modal dialog (or, unless once, whichever is up) while action runs.
    void WithModal(const std::function<void(QWidget *)> &what, const std::function<void()> &action, bool once = true)
    {
        QTimer timer;
        bool done = false;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (QWidget *w = QApplication::activeModalWidget(); w && !(once && done)) {
                done = true;
                what(w);
            }
        });
        timer.start(5);
        action();
    }
    // Runs what for the next modal dialog, which must be a D.
    template <class D> void OnModal(const std::function<void(D *)> &what, const std::function<void()> &action)
    {
        WithModal([&](QWidget *w) {
            auto *d = qobject_cast<D *>(w);
            ASSERT_TRUE(d) << w->metaObject()->className();
            what(d);
        }, action);
    }
    // Runs dialog for each modal dialog but message boxes while action runs;
    // the boxes' texts, each box closed.
    std::vector<std::string> Boxes(const std::function<void(QWidget *)> &dialog, const std::function<void()> &action)
    {
        std::vector<std::string> boxes;
        WithModal([&](QWidget *d) {
            if (auto *box = qobject_cast<QMessageBox *>(d)) {
                boxes.push_back(FromQ(box->text()));
                box->done(QMessageBox::Ok);
            } else {
                dialog(d);
            }
        }, action, false);
        return boxes;
    }
    void Rejecting(const std::function<void()> &action)
    {
        WithModal([](QWidget *d) { static_cast<QDialog *>(d)->reject(); }, action);
    }
    static std::string NameOf(TFDbf &w, const char *number, const char *pbx, char sep)
    {
        std::string name;
        w.FindNameByNumber(number, pbx, name, sep);
        return name;
    }
    // Live rows of a table (through a cursor of its own) as "field|field;".
    std::string Live(const char *table, std::initializer_list<const char *> fields)
    {
        TDbCursor c;
        c.DatabaseName = data.Path() + "Dbf";
        c.TableName = table;
        c.Open();
        std::string out;
        for (c.First(); !c.Eof(); c.Next())
            for (const char *f : fields)
                out += c.FieldByName(f).AsString() + (f == *(fields.end() - 1) ? ";" : "|");
        return out;
    }
    std::string LastRow(const char *table, std::initializer_list<const char *> fields)
    {
        std::string rows = Live(table, fields);
        return rows.substr(rows.rfind(';', rows.size() - 2) + 1); // npos + 1: the only row
    }

    TempDir data, lang;
    TNlsFunc nls;
    std::unique_ptr<TFDbf> window;
    std::string saved_;
};

TEST_F(Window, DeletesCascadeFromTheRowBeingDeletedIncludingHiddenRows)
{
    TFDbf &w = Filled();
    w.ViewFirm().Next(); // onto Beta, the selection still lags on Alfa
    ASSERT_EQ(w.CurFirmId, 1);
    w.NavFirm->Click(nbDelete);
    EXPECT_EQ(Live("Firms.dbf", {"NAME"}), "Alfa;");
    EXPECT_EQ(Live("Repres.dbf", {"SURNAME"}), "Novak;");
    EXPECT_EQ(Live("Nums.dbf", {"NUM"}), "06010;060110;");
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT"}), "S10;S110;");
    EXPECT_EQ(w.CurFirmId, 1) << "the remaining firm is selected";

    // A representative takes its own numbers and contacts, not the firm's.
    w.ViewRepre().First();
    w.NavRepre->Click(nbDelete);
    EXPECT_EQ(Live("Repres.dbf", {"SURNAME"}), "");
    EXPECT_EQ(Live("Nums.dbf", {"NUM"}), "06010;");
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT"}), "S10;");
}

// After its only representative is deleted the firm is the selection: new
// rows are the firm's and its own numbers show.
TEST_F(Window, DeletingTheSelectedRepresentativeSelectsTheFirmAgain)
{
    TFDbf &w = Filled();
    w.ViewFirm().Next();
    ASSERT_TRUE(w.SelectFirm());
    ASSERT_TRUE(w.SelectRepre());
    w.NavRepre->Click(nbDelete);
    EXPECT_TRUE(w.FirmMode);
    EXPECT_EQ(w.ViewNum().Filter(), "Idf=2");
    OnModal<TFDbfNum>([](TFDbfNum *num) {
        num->EditNum->setText("777");
        num->BitBtn1Click();
    }, [&] { w.NavNum->Click(nbInsert); });
    OnModal<TFDbfContact>([](TFDbfContact *contact) {
        contact->DBEditSubject->setText("New");
        contact->BitBtn1Click();
    }, [&] { w.NavContact->Click(nbInsert); });
    EXPECT_EQ(LastRow("Nums.dbf", {"IDF", "IDR", "NUM"}), "2|0|777;");
    EXPECT_EQ(LastRow("Contacts.dbf", {"IDF", "IDR", "SUBJECT"}), "2|0|New;");
    EXPECT_EQ(w.ViewNum().Count(), 2) << "the firm's own number and the new one";
}

// With another representative left, the cursor's row is the selection, as
// any move makes it; never the one just deleted.
TEST_F(Window, DeletingARepresentativeSelectsTheOneTheCursorMovedTo)
{
    Fill();
    {
        TIniFile ini(ProgramIniPath());
        TPhoneBookStore s(ini, DataDir);
        s.OpenTables();
        Add(s, s.TableRepre, {{"ID", "21"}, {"IDF", "2"}, {"SURNAME", "Lang"}, {"XSURNAME", "LANG"}});
    }
    TFDbf &w = Open();
    w.ViewFirm().Next();
    ASSERT_TRUE(w.SelectFirm());
    ASSERT_TRUE(w.SelectRepre());
    const int deleted = w.CurRepreId, left = deleted == 20 ? 21 : 20;
    w.NavRepre->Click(nbDelete);
    EXPECT_FALSE(w.FirmMode);
    EXPECT_EQ(w.CurRepreId, left);
    EXPECT_EQ(w.ViewNum().Filter(), "Idr=" + std::to_string(left) + " AND Idf=2");
}

TEST_F(Window, DetailsFollowAScrolledFirmOnlyOnceItRests)
{
    Fill();
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nStayed=800\r\n");
    TFDbf &w = Open();
    w.TimerFirm->SetInterval(3600000); // the test says when a tick is due
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) {
            EXPECT_TRUE(w.TimerFirm->Active());
            w.TimerFirm->OnTimer();
        }
    };
    w.ViewFirm().Next();
    EXPECT_EQ(w.CurFirmId, 1);
    ticks(5);
    w.ViewFirm().Prior(); // a further move starts the count again
    w.ViewFirm().Next();
    ticks(7);
    EXPECT_EQ(w.CurFirmId, 1) << "not yet: the cursor moved again";
    ticks(1);
    EXPECT_EQ(w.CurFirmId, 2);
    EXPECT_FALSE(w.TimerFirm->Active());
    EXPECT_EQ(w.ViewRepre().Filter(), "Idf=2");
}

TEST_F(Window, TablesReplacedWhileClosedAreReadAfresh)
{
    TFDbf &w = Filled();
    w.CloseTables();
    std::filesystem::remove_all(data.File("Dbf"));
    {
        TIniFile ini(ProgramIniPath());
        TPhoneBookStore other(ini, DataDir);
        other.OpenTables();
        Add(other, other.TableFirm, {{"ID", "4"}, {"NAME", "Delta"}});
    }
    w.OpenTables();
    ASSERT_EQ(w.ViewFirm().Count(), 1) << "the grids read the new table";
    EXPECT_EQ(w.CurFirmName, "Delta");
    EXPECT_TRUE(w.ViewNum().IsEmpty());
    EXPECT_EQ(NameOf(w, "06010", "none", '('), "none") << "the name index follows the new table";
}

TEST_F(Window, TheContactMemoTypedInTheWindowIsKeptAndTheLockShowsEveryone)
{
    TFDbf &w = Filled();
    w.ViewContact().First();
    w.DBMemoContact->insertPlainText("Call back on Monday"); // as typed
    w.ViewContact().Next(); // moving on keeps what was typed
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT", "MEMO"}).substr(0, 26), "S10|Call back on Monday;S1");
    EXPECT_EQ(FromQ(w.DBMemoContact->toPlainText()), "");

    // The firm dialog's contacts page edits the same memo.
    OnModal<TFDbfFirm>([](TFDbfFirm *firm) {
        QTest::keyClicks(firm->DBMemoContact, "Offer sent"); // as typed
        firm->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbEdit); });
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT", "MEMO"}).substr(0, 40), "S10|Call back on Monday;S110|Offer sent;");

    // What the tables cannot hold is taken out as it comes, and named.
    w.ViewContact().First();
    QString box;
    WithModal([&](QWidget *m) {
        box = static_cast<QMessageBox *>(m)->text();
        static_cast<QMessageBox *>(m)->accept();
    }, [&] {
        w.DBMemoContact->selectAll();
        w.DBMemoContact->insertPlainText(QString::fromUtf8("Praha \U0001F600\u0436")); // as typed
        EXPECT_TRUE(QTest::qWaitFor([&] { return !box.isEmpty(); }, 2000));
    });
    EXPECT_TRUE(box.contains(QString::fromUtf8("\U0001F600  \u0436"))) << FromQ(box);
    EXPECT_EQ(FromQ(w.DBMemoContact->toPlainText()), "Praha ");
    w.ViewContact().Next();
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT", "MEMO"}).substr(0, 11), "S10|Praha ;");

    w.SpeedButtonLockRepre->click();
    EXPECT_EQ(w.ViewRepre().Count(), 2) << "every firm's representatives";
    w.SpeedButtonLockRepre->click();
    EXPECT_EQ(w.ViewRepre().Filter(), "Idf=1");
}

// The contact memos typed in a firm's or a representative's dialog are
// stored by its OK alone, those of contacts left for another too. A
// contact's own dialog shows what was typed; its OK stores what it shows.
TEST_F(Window, ADialogsContactMemosAreStoredByItsOkAloneAndCancelStoresNothing)
{
    struct Case { bool firm, ok; const char *names, *memos; } cases[] = {
        {true, false, "Alfa;Beta;/Novak;Kral;", "S10|;S110|;"}, {false, false, "Alfa;Beta;/Novak;Kral;", "S10|;S110|;"},
        {true, true, "Changed;Beta;/Novak;Kral;", "S10|A;S110|C;"},
        {false, true, "Alfa;Beta;/Changed;Kral;", "S10|;S110|C;"}};
    for (const Case &c : cases) {
        window.reset();
        std::filesystem::remove_all(data.File("Dbf"));
        TFDbf &w = Filled();
        w.ViewRepre().First();
        ASSERT_TRUE(c.firm ? w.SelectFirm() : w.SelectRepre());
        WithModal([&](QWidget *d) {
            auto *firm = qobject_cast<TFDbfFirm *>(d);
            auto *repre = qobject_cast<TFDbfRepre *>(d);
            ASSERT_TRUE(firm || repre);
            (firm ? firm->DBEditName : repre->DBEditSurName)->setText("Changed");
            TContactPage &page = firm ? firm->Contacts : repre->Contacts;
            QTest::keyClicks(page.Memo, "A");
            if (firm) {
                w.ViewContact().Next();
                QTest::keyClicks(page.Memo, "B");
            }
            OnModal<TFDbfContact>([&](TFDbfContact *contact) {
                EXPECT_EQ(contact->DBMemo1->toPlainText(), firm ? "B" : "A");
                if (!c.ok)
                    return contact->reject();
                contact->DBMemo1->setPlainText("C");
                contact->BitBtn1Click();
            }, [&] { page.Pane.Nav->Click(nbEdit); });
            EXPECT_EQ(page.Memo->toPlainText(), c.ok ? "C" : firm ? "B" : "A");
            if (c.ok)
                (firm ? firm->BitBtnOK : repre->BitBtn1)->click();
            else
                static_cast<QDialog *>(d)->reject();
        }, [&] { (c.firm ? w.NavFirm : w.NavRepre)->Click(nbEdit); });
        EXPECT_EQ(Live("Firms.dbf", {"NAME"}) + "/" + Live("Repres.dbf", {"SURNAME"}), c.names);
        EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT", "MEMO"}).substr(0, strlen(c.memos)), c.memos);
    }
}

// Text that code page 1250 cannot hold is refused by a dialog's OK, which
// names the characters and stores nothing; kept text (the euro sign is in
// the code page) then goes through.
TEST_F(Window, OkRefusesCharactersTheTablesCannotHoldAndNamesThem)
{
    TFDbf &w = Filled();
    auto u = [](const char *text) { return QString::fromUtf8(text); };
    struct Case {
        const char *what;
        TDbNavigatorLink *nav;
        // Types the text into the dialog; returns its OK button.
        std::function<QPushButton *(QWidget *, const QString &)> type;
        const char *typed, *named, *kept;
    } cases[] = {
        {"firm name", w.NavFirm, [](QWidget *d, const QString &t) {
             static_cast<TFDbfFirm *>(d)->DBEditName->setText(t);
             return static_cast<TFDbfFirm *>(d)->BitBtnOK;
         }, "\u041c\u043e\u0441\u043a\u0432\u0430 Ltd", "\u041c  \u043e  \u0441  \u043a  \u0432  \u0430", "Moskva Ltd"},
        {"firm note", w.NavFirm, [](QWidget *d, const QString &t) {
             static_cast<TFDbfFirm *>(d)->DBMemo1->setPlainText(t);
             return static_cast<TFDbfFirm *>(d)->BitBtnOK;
         }, "Praha \U0001F600", "\U0001F600", "Praha"},
        {"a contact memo left for another", w.NavFirm, [&](QWidget *d, const QString &t) {
             auto *firm = static_cast<TFDbfFirm *>(d);
             w.ViewContact().First();
             firm->DBMemoContact->setPlainText(t);
             firm->DBMemoContact->document()->setModified(true); // as typed
             w.ViewContact().Next();
             return firm->BitBtnOK;
         }, "\u0436 ok", "\u0436", "ok"},
        {"surname", w.NavRepre, [](QWidget *d, const QString &t) {
             static_cast<TFDbfRepre *>(d)->DBEditSurName->setText(t);
             return static_cast<TFDbfRepre *>(d)->BitBtn1;
         }, "\u03a9mega", "\u03a9", "Omega"},
        {"contact subject", w.NavContact, [](QWidget *d, const QString &t) {
             static_cast<TFDbfContact *>(d)->DBEditSubject->setText(t);
             return static_cast<TFDbfContact *>(d)->BitBtn1;
         }, "\u20acuro \u2713\u2713", "\u2713", "\u20acuro"},
        {"number", w.NavNum, [](QWidget *d, const QString &t) {
             static_cast<TFDbfNum *>(d)->EditNum->setText(t);
             return static_cast<TFDbfNum *>(d)->BitBtn1;
         }, "123\u260e", "\u260e", "123"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = Live("Firms.dbf", {"NAME", "MEMO"}) + Live("Repres.dbf", {"SURNAME"}) +
                                   Live("Contacts.dbf", {"SUBJECT", "MEMO"}) + Live("Nums.dbf", {"NUM"});
        QString box;
        WithModal([&](QWidget *d) {
            QPushButton *ok = c.type(d, u(c.typed));
            WithModal([&](QWidget *m) {
                box = static_cast<QMessageBox *>(m)->text();
                static_cast<QMessageBox *>(m)->accept();
            }, [&] { ok->click(); });
            EXPECT_TRUE(d->isVisible()) << "the dialog stays open";
            EXPECT_TRUE(box.contains(u(c.named))) << FromQ(box);
            static_cast<QDialog *>(d)->reject();
        }, [&] { c.nav->Click(nbEdit); });
        EXPECT_EQ(Live("Firms.dbf", {"NAME", "MEMO"}) + Live("Repres.dbf", {"SURNAME"}) +
                      Live("Contacts.dbf", {"SUBJECT", "MEMO"}) + Live("Nums.dbf", {"NUM"}),
                  before);
        WithModal([&](QWidget *d) { c.type(d, u(c.kept))->click(); }, [&] { c.nav->Click(nbEdit); });
        EXPECT_NE(Live("Firms.dbf", {"NAME", "MEMO"}) + Live("Repres.dbf", {"SURNAME"}) +
                      Live("Contacts.dbf", {"SUBJECT", "MEMO"}) + Live("Nums.dbf", {"NUM"}),
                  before);
    }
}

TEST_F(Window, ShowNumberSelectsItsOwnerOrLeavesThePaneAsItWas)
{
    TFDbf &w = Filled();
    w.ShowNumber("0609", false);
    EXPECT_EQ(w.ViewNum().Filter(), "Idf=1") << "an unknown number keeps the pane filtered";
    EXPECT_EQ(w.ViewNum().Count(), 2);
    w.ShowNumber("060220", false);
    EXPECT_EQ(w.CurFirmId, 2);
    EXPECT_EQ(w.CurRepreId, 20);
    EXPECT_FALSE(w.FirmMode);
    EXPECT_EQ(w.ViewNum().Filter(), "Idr=20 AND Idf=2");
    EXPECT_EQ(w.Store().TableNum.FieldByName("NUM").AsString(), "060220");
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabContact);
    w.ShowNumber("", true); // nothing happens
    EXPECT_EQ(w.CurFirmId, 2);
}

TEST_F(Window, NavigatorDialogsFileNewRowsUnderTheSelection)
{
    TFDbf &w = Filled();
    w.ViewRepre().First();
    ASSERT_TRUE(w.SelectRepre());
    OnModal<TFDbfNum>([](TFDbfNum *num) {
        EXPECT_EQ(num->RadioGroupType->ItemIndex(), 0);
        num->EditNum->setText("777");
        num->RadioGroupType->SetItemIndex(3);
        num->BitBtn1Click();
    }, [&] { w.NavNum->Click(nbInsert); });
    EXPECT_EQ(LastRow("Nums.dbf", {"IDF", "IDR", "TYPE", "NUM"}), "1|10|L|777;");
    EXPECT_EQ(w.ViewNum().Count(), 2) << "the new number shows under the representative";

    // A new firm: OK waits for a name; the new row gets the next ID and
    // false, not null, flags.
    OnModal<TFDbfFirm>([](TFDbfFirm *firm) {
        EXPECT_FALSE(firm->BitBtnOK->isEnabled());
        EXPECT_TRUE(firm->Panel2->isHidden());
        firm->DBEditName->setText("  ");
        EXPECT_FALSE(firm->BitBtnOK->isEnabled()) << "blanks are no name";
        firm->DBEditName->setText("Gama");
        EXPECT_TRUE(firm->BitBtnOK->isEnabled());
        firm->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbInsert); });
    EXPECT_EQ(Live("Firms.dbf", {"ID", "NAME", "DEALER"}), "1|Alfa|;2|Beta|True;3|Gama|False;");
    EXPECT_EQ(w.CurFirmName, "Gama");
    EXPECT_TRUE(w.ViewRepre().IsEmpty());

    Rejecting([&] { w.NavFirm->Click(nbInsert); });
    EXPECT_TRUE(w.Cancelled);
    EXPECT_EQ(w.ViewFirm().Count(), 3);

    // An existing representative's dialog names the firm; a number of an
    // unknown kind opens as a fixed line and is written so.
    w.ViewFirm().First();
    w.SelectFirm();
    WithModal([](QWidget *d) {
        EXPECT_TRUE(static_cast<QDialog *>(d)->windowTitle().endsWith(" Alfa"));
        static_cast<QDialog *>(d)->reject();
    }, [&] { w.NavRepre->Click(nbEdit); });
    w.Store().TableNum.Edit();
    w.Store().TableNum.FieldByName("TYPE").SetAsString("X");
    w.Store().Post(w.Store().TableNum);
    OnModal<TFDbfNum>([](TFDbfNum *num) {
        EXPECT_EQ(num->RadioGroupType->ItemIndex(), 0);
        num->BitBtn1Click();
    }, [&] { w.NavNum->Click(nbEdit); });
    EXPECT_EQ(w.Store().TableNum.FieldByName("TYPE").AsString(), "T");
}

// Another program (a store of its own on the folder) changes or deletes the
// row while its dialog is open: OK writes only what the dialog changed, a
// field nobody touched keeps its bytes, and a deleted row is not revived.
TEST_F(Window, ADialogSavesOnlyWhatItChangedAndSaysWhenItsRowIsGone)
{
    TFDbf &w = Filled();
    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    auto change = [&](TDbCursor &c, const char *field, const std::string &value) {
        c.First();
        c.Edit();
        c.FieldByName(field).SetAsString(value);
        other.Post(c);
    };
    OnModal<TFDbfFirm>([&](TFDbfFirm *d) {
        change(other.TableFirm, "ADD_STREET", "Nov\xE1 1");
        d->DBEditEmail->setText("info@alfa.cz");
        d->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbEdit); });
    EXPECT_EQ(Live("Firms.dbf", {"NAME", "ADD_STREET", "EMAIL"}), "Alfa|Nov\xE1 1|info@alfa.cz;Beta||;");

    // An imported function longer than the dialog's field stays whole.
    const std::string fce(55, 'f');
    change(other.TableRepre, "FCE", fce);
    w.ViewRepre().First();
    OnModal<TFDbfRepre>([](TFDbfRepre *d) { d->BitBtn1Click(); }, [&] { w.NavRepre->Click(nbEdit); });
    EXPECT_EQ(Live("Repres.dbf", {"SURNAME", "FCE"}), "Novak|" + fce + ";Kral|;");

    std::vector<std::string> boxes = Boxes([&](QWidget *d) {
        other.TableFirm.First();
        other.Delete(other.TableFirm);
        static_cast<TFDbfFirm *>(d)->DBEditEmail->setText("late@alfa.cz");
        static_cast<TFDbfFirm *>(d)->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbEdit); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Gone meanwhile"), std::string::npos) << boxes[0];
    EXPECT_TRUE(w.Cancelled);
    EXPECT_EQ(Live("Firms.dbf", {"NAME", "EMAIL"}), "Beta|;");

    // A contact's tick on a contact deleted meanwhile says so in the same words.
    w.ViewFirm().First();
    ASSERT_TRUE(w.SelectFirm());
    other.TableContact.SetFilter("Idf=2");
    other.Delete(other.TableContact);
    boxes = Boxes([](QWidget *) {}, [&] { w.SpeedButtonCheck->click(); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Gone meanwhile"), std::string::npos) << boxes[0];
    EXPECT_EQ(Live("Contacts.dbf", {"SUBJECT", "CHECKED"}), "S10|;S110|;S220|;");
}

// Another program (a store of its own) imports a new book while the window
// shows the old one: an edit open meanwhile is refused with the reason, not
// written into the files the import replaced, and the window goes over to
// the new book by itself, where what it adds lands for everyone.
TEST_F(Window, ABookReplacedByAnotherProgramIsFollowedAndNeverWrittenInto)
{
    TFDbf &w = Filled();
    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    auto import = [&] {
        for (const char *f : {"Firms.txm", "Repres.txt", "Repres.txm", "Contacts.txt", "Contacts.txm", "Nums.txt"})
            WriteBytes(data.File(std::string("Dbf/") + f), "");
        WriteBytes(data.File("Dbf/Firms.txt"), "Gama;;;;;;;;;F;F;\r\n");
        TDbfImport imp(other);
        while (imp.Step(5000)) {
        }
        EXPECT_EQ(imp.Failure(), TDbfImport::kNone) << imp.Detail();
    };
    std::vector<std::string> boxes = Boxes([&](QWidget *d) {
        import();
        static_cast<TFDbfFirm *>(d)->DBEditEmail->setText("lost@alfa.cz");
        static_cast<TFDbfFirm *>(d)->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbEdit); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Replaced meanwhile"), std::string::npos) << boxes[0];

    for (int i = 0; i < 300 && w.CurFirmName != "Gama"; ++i)
        QTest::qWait(10);
    EXPECT_EQ(w.CurFirmName, "Gama");
    EXPECT_EQ(w.ViewFirm().Count(), 1);
    OnModal<TFDbfNum>([](TFDbfNum *num) {
        num->EditNum->setText("777111222");
        num->BitBtn1Click();
    }, [&] { w.NavNum->Click(nbInsert); });
    EXPECT_EQ(Live("Firms.dbf", {"ID", "NAME", "EMAIL"}), "1|Gama|;");
    EXPECT_EQ(Live("Nums.dbf", {"IDF", "NUM"}), "1|777111222;");
}

// Another program's import of a book with the firm Gama waits to be moved
// in, and a program of our own holds the staging lock as if it moved it in
// now. Returns the lock's descriptor.
static int WaitingImport(const TempDir &data)
{
    TempDir other;
    {
        TPhoneBookStore s(TIniFile(other.File("Talvodem.ini")), other.Path());
        s.OpenTables();
        s.TableFirm.Append();
        s.TableFirm.FieldByName("ID").SetAsString("1");
        s.TableFirm.FieldByName("NAME").SetAsString("Gama");
        s.Post(s.TableFirm);
    }
    const std::string book = data.File("Dbf/"), staging = bookswap::StagingDir(book);
    std::filesystem::create_directories(staging);
    for (const auto &e : std::filesystem::directory_iterator(other.File("Dbf")))
        if (e.path().extension() != ".lock")
            std::filesystem::copy_file(e.path(), staging + e.path().filename().string());
    WriteBytes(staging + "Complete", "");
    int fd = ::open((book + "Staging.lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    EXPECT_EQ(::flock(fd, LOCK_EX), 0);
    return fd;
}

// An edit while another program's import waits to be moved in is refused
// with the reason and nothing is written; once the import can be put in
// place, the next save does so, is refused as into a replaced book, and the
// window goes over to the new book. A window whose book stayed closed for
// such an import opens it once another program has moved it in.
TEST_F(Window, NothingIsSavedPastAnImportThatWaitsAndTheWindowFollowsIt)
{
    TFDbf &w = Filled();
    int lock = WaitingImport(data);
    auto edit = [&] {
        return Boxes([&](QWidget *d) {
            static_cast<TFDbfFirm *>(d)->DBEditEmail->setText("lost@alfa.cz");
            static_cast<TFDbfFirm *>(d)->BitBtnOKClick();
        }, [&] { w.NavFirm->Click(nbEdit); });
    };
    std::vector<std::string> boxes = edit();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Import waits"), std::string::npos) << boxes[0];
    EXPECT_EQ(Live("Firms.dbf", {"NAME", "EMAIL"}), "Alfa|;Beta|;");
    ::close(lock);
    boxes = edit();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Replaced meanwhile"), std::string::npos) << boxes[0];
    for (int i = 0; i < 300 && w.CurFirmName != "Gama"; ++i)
        QTest::qWait(10);
    EXPECT_EQ(w.CurFirmName, "Gama");

    window.reset();
    lock = WaitingImport(data);
    TFDbf &closed = Open();
    EXPECT_FALSE(closed.TablesOpen());
    ::close(lock);
    EXPECT_TRUE(bookswap::Finish(data.File("Dbf")).empty()); // another program moves it in
    for (int i = 0; i < 300 && !closed.TablesOpen(); ++i)
        QTest::qWait(10);
    EXPECT_TRUE(closed.TablesOpen());
    EXPECT_EQ(closed.CurFirmName, "Gama");
}

// Another program (a store of its own) deleted the firm or representative the
// window still shows: a number, representative or contact added under it is
// refused with the reason and nothing is stored, from the window and from the
// firm dialog's pages; the note typed for a contact deleted meanwhile is
// shown, not dropped.
TEST_F(Window, RowsForAFirmOrRepresentativeDeletedMeanwhileAreRefusedAndSaid)
{
    TFDbf &w = Filled();
    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    const std::string nums = Live("Nums.dbf", {"IDF", "IDR", "NUM"});
    auto typeNumber = [](QWidget *d) {
        if (auto *num = qobject_cast<TFDbfNum *>(d)) {
            num->EditNum->setText("555666777");
            num->BitBtn1Click();
        } else if (auto *repre = qobject_cast<TFDbfRepre *>(d)) {
            repre->DBEditSurName->setText("Late");
            repre->BitBtn1Click();
        }
    };
    auto expectOwnerGone = [](const std::vector<std::string> &boxes) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find("Owner gone"), std::string::npos) << boxes[0];
    };
    // Representative Novak (10) of Alfa, then Alfa itself.
    w.ViewRepre().First();
    ASSERT_TRUE(w.SelectRepre());
    ASSERT_TRUE(other.TableRepre.Locate({{"ID", "10"}}));
    other.Delete(other.TableRepre);
    expectOwnerGone(Boxes(typeNumber, [&] { w.NavNum->Click(nbInsert); }));
    ASSERT_TRUE(w.SelectFirm());
    ASSERT_TRUE(other.TableFirm.Locate({{"ID", "1"}}));
    other.Delete(other.TableFirm);
    expectOwnerGone(Boxes(typeNumber, [&] { w.NavNum->Click(nbInsert); }));
    expectOwnerGone(Boxes(typeNumber, [&] { w.NavRepre->Click(nbInsert); }));
    EXPECT_TRUE(w.Cancelled);

    // Beta's dialog: a number on its page, then the firm's own OK.
    w.ViewFirm().Next();
    ASSERT_TRUE(w.SelectFirm());
    std::vector<std::string> boxes = Boxes([&](QWidget *d) {
        auto *firm = qobject_cast<TFDbfFirm *>(d);
        ASSERT_TRUE(firm);
        ASSERT_TRUE(other.TableFirm.Locate({{"ID", "2"}}));
        other.Delete(other.TableFirm);
        expectOwnerGone(Boxes(typeNumber, [&] { firm->Nums.Nav->Click(nbInsert); }));
        firm->BitBtnOKClick();
    }, [&] { w.NavFirm->Click(nbEdit); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Gone meanwhile"), std::string::npos) << boxes[0];
    EXPECT_EQ(Live("Nums.dbf", {"IDF", "IDR", "NUM"}), nums);
    EXPECT_EQ(Live("Repres.dbf", {"ID", "IDF"}), "20|2;") << "Novak was deleted, nobody added";

    // A note typed for Beta's contact, which the other program deletes.
    w.ViewContact().First();
    w.DBMemoContact->insertPlainText("Call back on Monday"); // as typed
    ASSERT_TRUE(other.TableContact.Locate({{"SUBJECT", "S20"}}));
    other.Delete(other.TableContact);
    boxes = Boxes([](QWidget *) {}, [&] { w.ViewContact().Next(); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Note not stored:\n\nCall back on Monday"), std::string::npos) << boxes[0];
}

// The window deletes Alfa while another program, which still shows it, adds
// a number and a representative for it: what lands before the firm's row is
// gone is swept with it, whichever step it came between.
TEST_F(Window, ADeleteSweepsWhatAnotherProgramAddedMeanwhile)
{
    TFDbf &w = Filled();
    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    auto add = [&](TDbCursor &c, Fields fields) { Add(other, c, fields); };
    // Right before the window deletes the representative's row, then the firm's.
    bool once = true;
    w.Store().TableRepre.BeforeDelete = [&](TDbCursor &) {
        if (std::exchange(once, false))
            add(other.TableNum, {{"IDF", "1"}, {"IDR", "10"}, {"NUM", "555"}});
    };
    w.Store().TableFirm.BeforeDelete = [&](TDbCursor &) {
        add(other.TableRepre, {{"IDF", "1"}, {"SURNAME", "Late"}});
        add(other.TableNum, {{"IDF", "1"}, {"IDR", "0"}, {"NUM", "556"}});
        add(other.TableContact, {{"IDF", "1"}, {"IDR", "0"}, {"SUBJECT", "Late"}});
    };
    w.ViewFirm().First();
    ASSERT_TRUE(w.SelectFirm());
    EXPECT_EQ(Boxes([](QWidget *) {}, [&] { w.DeleteRow(w.ViewFirm()); }), std::vector<std::string>());
    EXPECT_EQ(Live("Firms.dbf", {"ID"}), "2;");
    EXPECT_EQ(Live("Repres.dbf", {"IDF"}), "2;");
    EXPECT_EQ(Live("Nums.dbf", {"IDF"}), "2;2;");
    EXPECT_EQ(Live("Contacts.dbf", {"IDF"}), "2;2;");
}

// Another program imports a book in which Alfa's number belongs to Gama while
// the window has a dialog open: the window waits for the dialog, callers are
// named from the new book at once.
TEST_F(Window, CallersAreNamedFromABookReplacedWhileADialogIsOpen)
{
    TFDbf &w = Filled();
    EXPECT_EQ(NameOf(w, "06010", "PBX", '('), "Alfa");
    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    OnModal<TFDbfFirm>([&](TFDbfFirm *firm) {
        for (const char *f : {"Firms.txm", "Repres.txt", "Repres.txm", "Contacts.txt", "Contacts.txm"})
            WriteBytes(data.File(std::string("Dbf/") + f), "");
        WriteBytes(data.File("Dbf/Firms.txt"), "Gama;;;;;;;;;F;F;\r\n");
        WriteBytes(data.File("Dbf/Nums.txt"), "Gama;;T;06010;\r\n");
        TDbfImport imp(other);
        while (imp.Step(5000)) {
        }
        ASSERT_EQ(imp.Failure(), TDbfImport::kNone) << imp.Detail();
        EXPECT_EQ(NameOf(w, "06010", "PBX", '('), "Gama");
        EXPECT_EQ(NameOf(w, "06020", "PBX", '('), "PBX") << "Beta's number is in the old book only";
        EXPECT_EQ(w.CurFirmName, "Alfa") << "the window still shows the old book";
        firm->reject();
    }, [&] { w.NavFirm->Click(nbEdit); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.CurFirmName == "Gama"; }, 3000));
    EXPECT_EQ(NameOf(w, "06010", "PBX", '('), "Gama");
}

// A language switch rebuilds the sort keys by walking every row: the firm
// shown stays the one new rows go to. A row another program deleted is
// stepped over quietly when the cursor comes to it, and a dialog's saved
// column layout takes the titles of the language now in use.
TEST_F(Window, ShownRowsSurviveALanguageSwitchAndAGoneRowIsSteppedOver)
{
    TFDbf &w = Filled();
    w.ViewFirm().Last();
    ASSERT_TRUE(w.SelectFirm());
    w.SortByTitle(w.DBGridFirm, "NAME");
    w.Translate(true);
    EXPECT_EQ(w.Store().TableFirm.FieldByName("NAME").AsString(), "Beta");
    OnModal<TFDbfNum>([](TFDbfNum *num) {
        num->EditNum->setText("777");
        num->BitBtn1Click();
    }, [&] { w.NavNum->Click(nbInsert); });
    EXPECT_EQ(LastRow("Nums.dbf", {"IDF", "NUM"}), "2|777;");

    TIniFile ini(ProgramIniPath());
    TPhoneBookStore other(ini, DataDir);
    other.OpenTables();
    ASSERT_TRUE(other.TableFirm.Locate({{"ID", "1"}}));
    other.Delete(other.TableFirm);
    EXPECT_EQ(Boxes([](QWidget *) {}, [&] { w.ViewFirm().First(); }), std::vector<std::string>());
    EXPECT_EQ(w.ViewFirm().Count(), 1);
    EXPECT_EQ(w.Store().TableFirm.FieldByName("NAME").AsString(), "Beta");

    OnModal<TFDbfFirm>([](TFDbfFirm *firm) { firm->reject(); }, [&] { w.NavFirm->Click(nbEdit); });
    Texts("[Texty]\r\n2140=Numero\r\n");
    OnModal<TFDbfFirm>([](TFDbfFirm *firm) {
        EXPECT_EQ(firm->Nums.Grid->Columns[0].Title, "Numero");
        firm->reject();
    }, [&] { w.NavFirm->Click(nbEdit); });
}

TEST_F(Window, ATableDamagedUnderneathIsReportedAndNothingHangs)
{
    TFDbf &w = Filled();
    std::filesystem::resize_file(data.File("Dbf/Firms.dbf"), 100);
    std::vector<std::string> boxes;
    WithModal([&](QWidget *d) {
        if (auto *firm = qobject_cast<TFDbfFirm *>(d))
            firm->BitBtnOKClick();
        else if (auto *box = qobject_cast<QMessageBox *>(d)) {
            boxes.push_back(FromQ(box->text()));
            box->done(QMessageBox::Ok);
        }
    }, [&] { w.NavFirm->Click(nbEdit); }, false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("damaged"), std::string::npos) << boxes[0];
    EXPECT_EQ(w.Store().TableFirm.State(), TDbCursor::dsBrowse) << "no edit left hanging";
    EXPECT_NE(NameOf(w, "06010", "PBX", '\n'), "") << "the panel still gets a name";
}

TEST_F(Window, AnEmptyBookDisablesTheDetailsAndADoubleClickInserts)
{
    TFDbf &w = Open();
    w.show();
    EXPECT_FALSE(w.DBNavigatorRepre->isEnabled());
    EXPECT_FALSE(w.DBNavigatorContact->isEnabled());
    bool insert = false;
    OnModal<TFDbfFirm>([&](TFDbfFirm *firm) {
        insert = firm->Panel2->isHidden();
        firm->reject();
    }, [&] {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(20, 20), QPointF(20, 20), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w.DBGridFirm->viewport(), &e);
    });
    EXPECT_TRUE(insert);
    EXPECT_TRUE(w.ViewFirm().IsEmpty());
}

TEST_F(Window, AddingANumberFilesItUnderTheRepresentativeChosenAtOnce)
{
    TFDbf &w = Filled();
    Rejecting([&] { EXPECT_FALSE(w.AddNumber("555")); });
    EXPECT_EQ(Live("Nums.dbf", {"NUM"}).find("555"), std::string::npos);

    // The representative is picked and OK pressed at once: no wait for the
    // window's own delay.
    auto numDialog = [](QWidget *d) {
        if (auto *num = qobject_cast<TFDbfNum *>(d))
            num->BitBtn1Click();
    };
    auto chooseBeta = [](TFDbfFR *fr) {
        fr->FirmChosen(fr->DBLookupComboBoxFirm->findText("Beta"));
        fr->RadioGroup1->SetItemIndex(1);
        fr->RadioGroup1Click();
        EXPECT_FALSE(fr->BitBtnOk->isEnabled()) << "no representative yet";
        fr->DBLookupComboBoxRepre->setCurrentIndex(0);
        fr->RepreChosen(0);
        fr->BitBtnOkClick();
    };
    WithModal(numDialog, [&] { OnModal<TFDbfFR>(chooseBeta, [&] { w.ShowNumber("555", true); }); }, false);
    EXPECT_EQ(LastRow("Nums.dbf", {"IDF", "IDR", "NUM"}), "2|20|555;");
    EXPECT_EQ(w.CurRepreId, 20);
}

TEST_F(Window, CallButtonsFollowTheRightAndTheLineState)
{
    TFDbf &w = Open();
    struct Case { bool canCall; const char *state; bool dial, hang; } cases[] = { // state nullptr: none since log-in
        {true, "RNG", false, true}, {true, nullptr, true, true}, {true, "REL", true, true},
        {true, "PCK", true, true}, {false, "REL", false, false}};
    // Whatever updates the buttons keeps them as the line state has them.
    const std::function<void()> updates[] = {[] {}, [&] { w.Translate(false); }, [&] { w.Reindex1->trigger(); },
                                             [&] { w.DeleteRow(w.ViewNum()); }};
    w.show();
    for (const Case &c : cases) {
        w.SetConnected(5, c.canCall);
        if (c.state)
            w.SetLineState(c.state);
        for (const auto &update : updates) {
            update();
            EXPECT_EQ(w.SpeedButtonDialNum->isEnabled(), c.dial) << (c.state ? c.state : "none");
            EXPECT_EQ(w.SpeedButtonHangRepre->isEnabled(), c.hang);
            EXPECT_EQ(HintOf(w.SpeedButtonDialFirm).ends_with("\nNeeds CMD"), !c.canCall);
            EXPECT_TRUE(w.SpeedButtonTransNum->isEnabled());
        }
    }
    EXPECT_FALSE(w.DBNavigatorNum->isEnabled()) << "no firm yet";
    w.hide();
    w.SetConnected(5, true);
    w.SetLineState("RNG");
    w.show();
    EXPECT_FALSE(w.SpeedButtonDialNum->isEnabled()) << "a hidden window catches up when shown";
}

TEST_F(Window, ACallButtonActsOnlyWhenItsOwnPaneHasARow)
{
    Fill();
    std::string calls;
    PanelCalls.Dial = [&](const std::string &n, const std::string &k) { calls += "dial " + n + k + ";"; };
    PanelCalls.DialOrTransfer = [&](const std::string &n, const std::string &k) { calls += "trf " + n + k + ";"; };
    PanelCalls.SendConference = [&](const std::string &n) { calls += "conf " + n + ";"; };
    TFDbf &w = Open();
    w.SetConnected(5, true);
    w.NavRepre->Click(nbDelete);
    ASSERT_TRUE(w.ViewRepre().IsEmpty()) << "a firm without representatives";
    struct Case { TSpeedButton *button; const char *calls; } cases[] = {
        {w.SpeedButtonDialRepre, ""}, {w.SpeedButtonTransRepre, ""}, {w.SpeedButtonConfRepre, ""},
        {w.SpeedButtonDialFirm, "dial 06010T;"}, {w.SpeedButtonTransFirm, "trf 06010T;"},
        {w.SpeedButtonConfFirm, "conf 06010;"}, {w.SpeedButtonDialNum, "dial 06010T;"}};
    for (const Case &c : cases) {
        calls.clear();
        c.button->click();
        EXPECT_EQ(calls, c.calls) << FromQ(c.button->toolTip());
    }
}

TEST_F(Window, ANavigatorActsOnTheRowUnderTheCursorRightAfterTheArrowKeys)
{
    Fill();
    std::string seen;
    PanelCalls.Dial = [&](const std::string &n, const std::string &k) { seen += "dial " + n + k; };
    PanelCalls.DialOrTransfer = [&](const std::string &n, const std::string &k) { seen += "trf " + n + k; };
    // An arrow key in a grid, then at once a navigator's button or a call
    // button; seen: the dialog with its row and the numbers beside it, or the call.
    struct Case {
        bool allRepres;
        TDBGridEx *TFDbf::*grid;
        std::function<void(TFDbf &)> act;
        std::string seen;
    } cases[] = {
        {false, &TFDbf::DBGridFirm, [](TFDbf &w) { w.NavFirm->Click(nbEdit); }, "TFDbfFirm Beta Idf=2"},
        {false, &TFDbf::DBGridFirm, [](TFDbf &w) { w.SpeedButtonDialFirm->click(); }, "dial 06020T"},
        {false, &TFDbf::DBGridFirm, [](TFDbf &w) { w.SpeedButtonTransFirm->click(); }, "trf 06020T"},
        {true, &TFDbf::DBGridRepre, [](TFDbf &w) { w.NavRepre->Click(nbEdit); }, "TFDbfRepre Kral Idr=20 AND Idf=2"},
        {true, &TFDbf::DBGridRepre, [](TFDbf &w) { w.SpeedButtonDialRepre->click(); }, "dial 060220T"},
        // A number's own row: the firm's selection waits until its dialog is over.
        {false, &TFDbf::DBGridFirm, [](TFDbf &w) { w.NavNum->Click(nbInsert); }, "TFDbfNum Idf=1"},
    };
    for (const Case &c : cases) {
        TFDbf &w = Open();
        w.SetConnected(5, true);
        if (c.allRepres)
            w.SpeedButtonLockRepre->click();
        QTest::keyClick(w.*c.grid, Qt::Key_Down);
        ASSERT_EQ((w.*c.grid)->View()->Row(), 1);
        seen.clear();
        bool firmWaited = false;
        WithModal([&](QWidget *d) {
            seen = d->metaObject()->className();
            if (auto *firm = qobject_cast<TFDbfFirm *>(d))
                seen += " " + FromQ(firm->DBEditName->text());
            else if (qobject_cast<QDialog *>(d) && !qobject_cast<TFDbfNum *>(d))
                seen += " " + w.Store().TableRepre.FieldByName("SURNAME").AsString();
            seen += " " + w.ViewNum().Filter();
            firmWaited = !w.TimerFirm->Active();
            static_cast<QDialog *>(d)->reject();
        }, [&] { c.act(w); });
        EXPECT_EQ(seen, c.seen);
        if (seen.starts_with("TFDbfNum")) {
            EXPECT_TRUE(firmWaited) << "no filter changes under the dialog";
            EXPECT_TRUE(w.TimerFirm->Active()) << "and the firm is selected once the cursor rests";
        }
        window.reset();
    }
}

TEST_F(Window, TheFirmDialogDialsTheRepresentativeUnderTheCursor)
{
    TFDbf &w = Filled();
    Add(w.Store(), w.Store().TableRepre, {{"ID", "11"}, {"IDF", "1"}, {"SURNAME", "Adam"}, {"XSURNAME", "ADAM"}});
    Add(w.Store(), w.Store().TableNum, {{"IDF", "1"}, {"IDR", "11"}, {"TYPE", "M"}, {"NUM", "777"}});
    w.RefreshViews();
    w.SelectFirm();
    w.SetConnected(5, true);
    std::string calls;
    PanelCalls.Dial = [&](const std::string &n, const std::string &k) { calls += n + k; };
    OnModal<TFDbfFirm>([&](TFDbfFirm *d) {
        QTest::keyClick(d->Repres.Grid, Qt::Key_Down);
        d->SpeedButtonDialRepre->click();
        d->reject();
    }, [&] { w.NavFirm->Click(nbEdit); });
    EXPECT_EQ(calls, "777M");
}

TEST_F(Window, KeysOnAGridActAsItsNavigatorsButtons)
{
    TFDbf &w = Filled();
    int asked = 0;
    w.NavNum->ConfirmDelete = [&] { return ++asked > 1; }; // the first is refused
    w.ViewFirm().Next(); // onto Beta; the selection still lags on Alfa
    // opened: the dialog and the state of the row under it
    struct Case { TDBGridEx *grid; Qt::Key key; Qt::KeyboardModifiers mods; std::string opened; } cases[] = {
        {w.DBGridFirm, Qt::Key_Enter, Qt::KeypadModifier, "TFDbfFirm edit Beta"},
        {w.DBGridRepre, Qt::Key_Insert, {}, "TFDbfRepre insert"}, {w.DBGridNum, Qt::Key_Return, {}, "TFDbfNum edit"},
        {w.DBGridContact, Qt::Key_F2, {}, "TFDbfContact edit"}, {w.DBGridNum, Qt::Key_Insert, {}, "TFDbfNum insert"},
        {w.DBGridNum, Qt::Key_Delete, {}, ""}, {w.DBGridNum, Qt::Key_Delete, Qt::ControlModifier, ""},
        {w.DBGridNum, Qt::Key_Delete, Qt::ControlModifier, ""}};
    std::vector<int> counts;
    for (const Case &c : cases) {
        std::string opened;
        WithModal([&](QWidget *d) {
            TDbCursor &row = c.grid->View()->Cursor();
            opened = std::string(d->metaObject()->className()) +
                     (row.State() == TDbCursor::dsInsert ? " insert" : " edit") +
                     (c.grid == w.DBGridFirm ? " " + w.CurFirmName : "");
            static_cast<QDialog *>(d)->reject();
        }, [&] { QTest::keyClick(c.grid, c.key, c.mods); });
        EXPECT_EQ(opened, c.opened) << c.key;
        counts.push_back(w.ViewNum().Count());
    }
    EXPECT_EQ(asked, 2) << "Ctrl+Delete asks first";
    EXPECT_EQ(counts, (std::vector<int>{2, 2, 2, 2, 2, 2, 2, 1}));
}

TEST_F(Window, TitlesSortByTheirIndexAndTheWheelMovesOneRecord)
{
    TFDbf &w = Filled();
    w.ViewRepre().SetFilter("");
    w.SortByTitle(w.DBGridRepre, "TITLE");
    EXPECT_EQ(w.ViewRepre().IndexName(), "") << "no index of that name";
    w.SortByTitle(w.DBGridRepre, "SURNAME");
    EXPECT_EQ(w.ViewRepre().IndexName(), "SURNAME");
    EXPECT_EQ(w.DBGridRepre->Columns[1].Title, "SURNAME ^");
    EXPECT_EQ(w.DBGridRepre->Model()->data(w.DBGridRepre->Model()->index(0, 1), Qt::DisplayRole).toString(), "Kral");
    w.SortByTitle(w.DBGridRepre, "NAME");
    EXPECT_EQ(w.DBGridRepre->Columns[1].Title, "SURNAME");

    TDbView &firms = w.ViewFirm();
    struct Case { QPoint delta; int row; } wheel[] = {
        {{0, -360}, 1}, {{0, -120}, 1}, {{120, 0}, 1}, {{0, 120}, 0}, {{0, 120}, 0}};
    for (const Case &c : wheel) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), {}, c.delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
        QApplication::sendEvent(w.DBGridFirm->viewport(), &e);
        EXPECT_EQ(firms.Row(), c.row) << c.delta.x() << "," << c.delta.y();
    }
}

TEST_F(Window, SettingsAndColumnFilesRoundTrip)
{
    std::filesystem::create_directories(data.File("Cfgs"));
    WriteBytes(data.File("Cfgs/DbfFirm.cfg"), std::string("TPF0\x0b\x00\xff\x01garbage", 16));
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nStayed=1050\r\n");
    TFDbf &first = Open();
    EXPECT_EQ(first.StayedTicks, 10);
    EXPECT_EQ(first.DBGridFirm->Columns.size(), 12u) << "an unreadable layout gives the default columns";
    first.DBGridNum->horizontalHeader()->moveSection(0, 2);
    first.DBGridNum->setColumnWidth(0, 77);
    window.reset();
    EXPECT_EQ(TIniFile(ProgramIniPath()).ReadInteger("Dbf", "Stayed", 0), 1000);
    TFDbf &w = Open();
    auto shown = w.DBGridNum->ShownColumns();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].first.FieldName, "Typ");
    EXPECT_EQ(shown[2].first.FieldName, "NUM");
    EXPECT_EQ(shown[2].second, 77);
}

TEST_F(Window, DefaultColumnsShowTheirTitlesOnOneLineWithoutRowNumbers)
{
    Texts("[Texty]\r\n2104=Post code\r\n2123=Title after\r\n2126=Company name\r\n");
    TFDbf &w = Open();
    w.Translate(false);
    struct Case { TDBGridEx *grid; const char *field, *title; } cases[] = {
        {w.DBGridFirm, "ADD_ZIP", "Post code"}, {w.DBGridRepre, "TITUL", "Title after"}, {w.DBGridNum, "Firm", "Company name"}};
    for (const Case &c : cases) {
        for (size_t i = 0; i < c.grid->Columns.size(); ++i)
            if (c.grid->Columns[i].FieldName == c.field) { // braces: the macro hides an else
                EXPECT_GE(c.grid->columnWidth(int(i)), c.grid->fontMetrics().horizontalAdvance(c.title) + 8) << c.title;
            }
        EXPECT_FALSE(c.grid->wordWrap());
        EXPECT_FALSE(c.grid->model()->headerData(0, Qt::Vertical).isValid());
    }
}

TEST_F(Window, LayoutComesBackAsSavedWhetherShownOrNotAndADesktopWithoutItHidesTheWindow)
{
    TFDbf &first = Open();
    first.show();
    first.move(300, 300);
    first.LoadPlacement(TIniFile(data.File("Empty.dst")));
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(first.frameGeometry().topLeft(), QPoint(0, 100));
    window.reset();
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nSplitter1=166\r\nSplitter2=300\r\nSplitter3=222\r\n");
    auto saved = [] {
        TIniFile ini(ProgramIniPath());
        return std::vector<int>{ini.ReadInteger("Dbf", "Splitter1", -1), ini.ReadInteger("Dbf", "Splitter2", -1),
                                ini.ReadInteger("Dbf", "Splitter3", -1)};
    };
    struct Case { QSize size; bool shown; } cases[] = {
        {{760, 560}, false}, {{1000, 800}, true}, {{1000, 800}, false}, {{1000, 800}, true}};
    for (const Case &c : cases) {
        TFDbf &w = Open();
        w.resize(c.size);
        if (c.shown) {
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
            // A larger window gives its extra room to the pages alone.
            EXPECT_EQ(w.Splitter12->sizes().value(0), 166);
        }
        window.reset();
        EXPECT_EQ(saved(), (std::vector<int>{166, 300, 222})) << c.size.width() << " shown " << c.shown;
    }
    // A handle the user drags is saved where it was left.
    TFDbf &w = Open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget *handle = w.Splitter12->handle(1);
    QTest::mousePress(handle, Qt::LeftButton, {}, {2, 1});
    QTest::mouseMove(handle, {2, 21});
    QTest::mouseRelease(handle, Qt::LeftButton, {}, {2, 21});
    window.reset();
    EXPECT_EQ(saved(), (std::vector<int>{186, 300, 222}));
}

TEST_F(Window, ADesktopNeverPutsTheWindowBeyondTheScreenNorSavesItSo)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const char *const desktops[] = {
        "[Dbf]\r\nVisible=1\r\nWidth=100000\r\nHeight=100000\r\n",
        "[Dbf]\r\nVisible=1\r\nLeft=-2000\r\nTop=-1500\r\n",
        "[Dbf]\r\nVisible=1\r\nLeft=5000\r\nTop=4000\r\nWidth=300\r\nHeight=200\r\n",
    };
    TFDbf &w = Open();
    for (const char *text : desktops) {
        WriteBytes(data.File("Odd.dst"), text);
        w.LoadPlacement(TIniFile(data.File("Odd.dst")));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(area.contains(w.frameGeometry())) << text;
        TIniFile saved(data.File("Odd.dst"));
        w.SavePlacement(saved);
        const QRect kept(saved.ReadInteger("Dbf", "Left", -1), saved.ReadInteger("Dbf", "Top", -1),
                         saved.ReadInteger("Dbf", "Width", -1), saved.ReadInteger("Dbf", "Height", -1));
        EXPECT_TRUE(area.contains(kept)) << text;
    }
}

TEST_F(Window, OpensTheStoreUnderTheDataFolderOrStaysClosedAndNamesNobody)
{
    EXPECT_TRUE(Open().TablesOpen());
    EXPECT_TRUE(std::filesystem::exists(data.File("Dbf/Contacts.cdx")));
    window.reset();
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nHome=" + data.Path() + "gone\r\n");
    TFDbf &w = Open();
    EXPECT_FALSE(w.TablesOpen());
    EXPECT_FALSE(w.LabelError->isHidden()) << "the window says why";
    EXPECT_NE(w.LabelError->Caption().find("gone"), std::string::npos);
    EXPECT_EQ(NameOf(w, "0601", "PBX", '('), "PBX") << "a ring with the book closed keeps the exchange's name";
    w.ShowNumber("0601", true); // nothing to show, nothing thrown
}

TEST_F(Window, FindsInTheColumnsTheGridShowsNumbersAndMovedOnesToo)
{
    TFDbf &w = Filled();
    w.DBGridFirm->SetColumns({{"NAME", "Name"}, {"ID", "Id"}, {"ADD_ZIP", "Zip"}, {"DEALER", "Dealer"}});
    w.DBGridFirm->horizontalHeader()->moveSection(2, 0);
    // row: where the view is after the find
    struct { const char *find; bool caseSensitive, onlyInName, fromStart, hit; int row; } cases[] = {
        {"a", false, true, true, true, 0},     {"a", false, true, false, true, 1},
        {"a", false, true, false, false, 1},   {"L", true, true, true, false, 1},
        {"l", true, true, true, true, 0},      {"2", false, false, true, true, 1},   // Beta's number ID
        {"110", false, false, true, true, 0},  {"True", true, false, true, true, 1}, // the moved zip, the dealer flag
        {"2", false, true, true, false, 1},
    };
    for (const auto &c : cases) {
        w.FindText = c.find;
        w.CaseSensitive = c.caseSensitive;
        w.OnlyInName = c.onlyInName;
        EXPECT_EQ(w.FindFirm(c.fromStart), c.hit) << c.find;
        EXPECT_EQ(w.ViewFirm().Row(), c.row) << c.find;
    }
}

TEST_F(Window, FindsFirmsAndRepresentativesAndSurvivesExportAndImport)
{
    TFDbf &w = Filled();
    // Ctrl+F after a firm was chosen searches the firms by name.
    auto find = [&](const char *text, int nameTag) {
        bool asked = false;
        OnModal<TFDbfFind>([&](TFDbfFind *f) {
            asked = true;
            EXPECT_EQ(f->CheckBoxName->Tag, nameTag);
            f->Edit1->SetText(text);
            f->CheckBoxCase->setChecked(false);
            f->BitBtnOk->click();
        }, [&] {
            QApplication::setActiveWindow(&w); // offscreen, a closed dialog does not hand it back
            QTest::keyClick(w.DBGridFirm, Qt::Key_F, Qt::ControlModifier);
        });
        EXPECT_TRUE(asked) << text;
    };
    w.show();
    auto f3 = [&] {
        QApplication::setActiveWindow(&w);
        QTest::keyClick(w.DBGridFirm, Qt::Key_F3);
        return w.ViewFirm().Row();
    };
    find("A", 8704);
    EXPECT_EQ(w.ViewFirm().Row(), 0);
    EXPECT_EQ(f3(), 1);
    EXPECT_EQ(f3(), 1); // no further hit: the row stays
    w.ViewFirm().First();
    ASSERT_TRUE(w.SelectFirm());
    ASSERT_TRUE(w.SelectRepre());
    w.FindText = "kr";
    EXPECT_FALSE(w.FindRepre(true)); // the lock is down: Alfa's representatives only
    // With the lock up every firm's representatives are searched.
    w.SpeedButtonLockRepre->click();
    find("kr", 8705);
    EXPECT_EQ(w.Store().TableRepre.FieldByName("SURNAME").AsString(), "Kral");

    w.Export1->trigger();
    EXPECT_TRUE(std::filesystem::exists(data.File("Dbf/Nums.txt")));
    w.Import1->trigger();
    // Representatives numbered afresh.
    EXPECT_EQ(Live("Nums", {"IDF", "IDR", "NUM"}), "1|0|06010;1|1|060110;2|0|06020;2|2|060220;");
    EXPECT_EQ(w.ViewFirm().Count(), 2);
    EXPECT_EQ(w.CurFirmId, 1);
}

} // namespace
