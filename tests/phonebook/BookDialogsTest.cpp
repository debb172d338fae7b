// The phone book's find dialog, progress window and export/import commands.
#include "DbfProgress.h"
#include "DbfTransfer.h"
#include "Dbffind.h"
#include "IniFile.h"
#include "Paths.h"
#include "PhoneBookStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <filesystem>

namespace {

// Calls act with every modal window that opens until the test ends.
struct ModalWatch {
    explicit ModalWatch(std::function<void(QWidget *)> act)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, act] {
            if (QWidget *w = QApplication::activeModalWidget(); w && w != last) {
                last = w;
                act(w);
            }
        });
        timer.start(5);
    }
    QTimer timer;
    QPointer<QWidget> last; // a box gone lets the next count, made where it was
};

} // namespace

TEST(BookDialogs, FindDialogWritesBackOnlyOnOk)
{
    for (bool ok : {true, false}) {
        std::string text = "old";
        bool caseSensitive = true, onlyInName = false;
        ModalWatch watch([&](QWidget *w) {
            auto *d = qobject_cast<TFDbfFind *>(w);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->Edit1->Text(), "old");
            EXPECT_EQ(d->CheckBoxName->Tag, 8705);
            d->Edit1->SetText("nov");
            d->CheckBoxCase->setChecked(false);
            d->CheckBoxName->setChecked(true);
            (ok ? d->BitBtnOk : d->BitBtn2)->click();
        });
        EXPECT_EQ(AskFind(nullptr, false, text, caseSensitive, onlyInName), ok);
        EXPECT_EQ(text, ok ? "nov" : "old");
        EXPECT_EQ(caseSensitive, !ok);
        EXPECT_EQ(onlyInName, ok);
    }
}

// The work runs from the event loop: other timers fire between its steps,
// and Cancel stops it once.
TEST(BookDialogs, ProgressStepsFromTheEventLoopUntilCancel)
{
    int steps = 0, cancels = 0, between = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++between; });
    other.start(1);
    TFDbfProgress progress(nullptr, "Work", {[&] {
        ++steps;
        if (between >= 3)
            QTimer::singleShot(0, [&] { progress.BitBtnCancel->click(); });
        return true;
    }, [&] { return long(steps); }, [&] { ++cancels; }});
    EXPECT_FALSE(progress.Run());
    EXPECT_EQ(cancels, 1);
    EXPECT_GE(between, 3);
    EXPECT_EQ(progress.LabelRows->Caption(), "Rows: " + std::to_string(steps));
}

TEST(BookDialogs, ExportThenImportOrAWordWhyTheBookWasKept)
{
    TempDir data;
    WriteBytes(data.File("Talvodem.ini"), "[Dbf]\r\nHome=Dbf\r\n");
    TPhoneBookStore store(TIniFile(data.File("Talvodem.ini")), data.Path());
    store.OpenTables();
    store.TableFirm.Append();
    store.TableFirm.FieldByName("ID").SetAsInteger(7);
    store.TableFirm.FieldByName("NAME").SetAsString("Alfa");
    store.TableFirm.Post();
    std::vector<std::string> boxes;
    ModalWatch watch([&](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            boxes.push_back(box->text().toStdString());
            box->accept();
        }
    });
    EXPECT_TRUE(ExportBook(nullptr, store));
    EXPECT_TRUE(ImportBook(nullptr, store));
    EXPECT_EQ(store.TableFirm.FieldByName("ID").AsInteger(), 1);
    std::filesystem::remove(data.File("Dbf/Nums.txt"));
    EXPECT_FALSE(ImportBook(nullptr, store));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Nums.txt"), std::string::npos);
    EXPECT_EQ(store.TableFirm.RecordCount(), 1);

    // A line with an extra field is named; values cut to their column are counted.
    WriteBytes(data.File("Dbf/Nums.txt"), "Alfa;;T;1;\r\nAlfa;;T;2;x;\r\n");
    EXPECT_FALSE(ImportBook(nullptr, store));
    WriteBytes(data.File("Dbf/Nums.txt"), "");
    WriteBytes(data.File("Dbf/Firms.txt"), "Alfa;" + std::string(41, 's') + ";\r\n");
    EXPECT_TRUE(ImportBook(nullptr, store));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[1].find("Nums.txt\n"), std::string::npos);
    EXPECT_NE(boxes[1].find(" 2\n"), std::string::npos) << boxes[1];
    EXPECT_EQ(boxes[2].substr(boxes[2].size() - 2), " 1");

    // A memo file cut short ends the export with one word, not one per retry.
    store.TableFirm.Edit();
    store.TableFirm.FieldByName("MEMO").SetAsString("note");
    store.TableFirm.Post();
    std::filesystem::resize_file(FindFileNoCase(data.File("Dbf/"), "Firms.fpt"), 512);
    // Through the event loop the program would show it and run the step again, without end.
    static bool crossed;
    crossed = false;
    QtMessageHandler was = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        crossed = crossed || text.contains("exception");
    });
    EXPECT_FALSE(ExportBook(nullptr, store));
    qInstallMessageHandler(was);
    EXPECT_FALSE(crossed);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_NE(boxes[3].find("damaged"), std::string::npos);
}

// The user is told which rows would not read back, at export, not at import.
TEST(BookDialogs, ExportNamesTheRowsTheImportCouldNotReadBack)
{
    TempDir data;
    WriteBytes(data.File("Talvodem.ini"), "[Dbf]\r\nHome=Dbf\r\n");
    TPhoneBookStore store(TIniFile(data.File("Talvodem.ini")), data.Path());
    store.OpenTables();
    for (int id : {1, 2}) {
        store.TableFirm.Append();
        store.TableFirm.FieldByName("ID").SetAsInteger(id);
        store.TableFirm.FieldByName("NAME").SetAsString(id == 1 ? "Alfa; Beta, s.r.o." : "Hradec Trade");
        store.TableFirm.Post();
    }
    store.TableNum.Append();
    store.TableNum.FieldByName("IDF").SetAsInteger(2);
    store.TableNum.FieldByName("NUM").SetAsString("123;456");
    store.TableNum.Post();
    std::string box;
    ModalWatch watch([&](QWidget *w) {
        if (auto *b = qobject_cast<QMessageBox *>(w)) {
            box = b->text().toStdString();
            b->accept();
        }
    });
    EXPECT_FALSE(ExportBook(nullptr, store));
    EXPECT_NE(box.find("Alfa; Beta, s.r.o."), std::string::npos) << box;
    EXPECT_NE(box.find("123;456 (Hradec Trade)"), std::string::npos) << box;
    EXPECT_FALSE(std::filesystem::exists(data.File("Dbf/Firms.txt")));
}
