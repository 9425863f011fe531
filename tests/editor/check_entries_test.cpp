// File, Load SysEx File and Utilities, Check Set in the document window.
#include <QtTest>
#include <QtWidgets>

#include "core/editing/EditScheme.h"
#include "core/midi/DumpMessage.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "editor/check/FCheck.h"
#include "editor/document/FDoc.h"
#include "editor/shell/EditActions.h"
#include "editor/shell/ShellServices.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

class Shell : public vxe::ShellServices {
public:
    vx::EditScheme* scheme = nullptr;
    vxe::EditActions edits;
    void NewSet() override {}
    void OpenSet() override {}
    void Exit() override {}
    void ShowHelpContents() override {}
    void ShowTipOfTheDay() override {}
    void ShowAbout() override {}
    void ShowOptions() override {}
    void Cascade() override {}
    void Tile() override {}
    void ArrangeIcons() override {}
    vx::EditScheme* Editing() override { return scheme; }
    QMenu* EditMenu() override { return edits.Menu(); }
};

// One new set in its window showing the arrangements.
struct OneSet {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;
    Shell shell;
    std::unique_ptr<vxe::FDoc> doc;
    int set = 0;

    explicit OneSet(bool editing = true) {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        if (!catalogue) return;
        session = std::make_unique<vx::Session>(std::move(*catalogue), vx::PresetTables{}, options, ui);
        scheme = std::make_unique<vx::EditScheme>(*session);
        if (editing) shell.scheme = scheme.get();
        options.ModeId = 0;
        set = session->OpenOrNewSet(true, "");
        doc = std::make_unique<vxe::FDoc>(*session, shell, set);
        doc->Fill();
        shell.edits.SetDocument(doc.get());
    }
    vx::SetData& Data() { return session->Data(set); }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", name);
    return child;
}

QStringList Row(QTreeWidgetItem* item) { return {item->text(0), item->text(1), item->text(2)}; }

}  // namespace

class CheckEntriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadSysExFileRestoresTheKindShowsItsTabAndCanBeUndone();
    void loadSysExFileStaysOffWithoutTheEditCommands();
    void checkSetListsTheFindingsAndChecksAgain();
    void findingsNameTheirItems();
};

void CheckEntriesTest::loadSysExFileRestoresTheKindShowsItsTabAndCanBeUndone() {
    OneSet f;
    QVERIFY(f.set > 0);
    vx::SetData source = f.Data();
    source.prg.records[0].SetName("ORGAN");
    vx::Bytes message;
    std::string error;
    QVERIFY(vx::BuildDumpMessage(source, vx::ItemKind::Program, 0, vx::SysExHeader{}, message, error));
    const std::string file = f.temp.Str() + "/PRG.SYX";
    vx::test::WriteFileBytes(file, message);

    f.ui.fileAnswers = {file};
    Child<QAction>(*f.doc, "mnuFLoadSysex")->trigger();
    QCOMPARE(f.ui.fileRequests.size(), std::size_t{1});
    QCOMPARE(f.ui.fileRequests[0].title, std::string("Load SysEx File..."));
    QVERIFY(f.ui.messages.empty());
    QCOMPARE(f.Data().prg.records[0].Name(), std::string("ORGAN           "));
    QCOMPARE(Child<QTabWidget>(*f.doc, "tabMode")->currentIndex(), 2);
    QVERIFY(f.session->Slot(f.set).dirty[2]);

    QAction* undo = Child<QAction>(*f.shell.edits.Menu(), "mnuEUndo");
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(f.Data().prg.records[0].Name(), std::string(16, ' '));
}

void CheckEntriesTest::loadSysExFileStaysOffWithoutTheEditCommands() {
    OneSet f(false);
    QVERIFY(f.set > 0);
    QVERIFY(!Child<QAction>(*f.doc, "mnuFLoadSysex")->isEnabled());
    QVERIFY(Child<QAction>(*f.doc, "mnuUCheck")->isEnabled());
}

void CheckEntriesTest::findingsNameTheirItems() {
    const struct {
        const char* item;
        int kind;  // -1: none
        int slot;
    } cases[] = {
        {"Arrangement C11 'POP'", vx::KindIndex(vx::ItemKind::Arrangement), 0},
        {"Style C12 'Funk'", vx::KindIndex(vx::ItemKind::Style), 1},
        {"KBD Set 12", vx::KindIndex(vx::ItemKind::KbdSet), 1},
        {"Event memory", -1, 0},
        {"Style block C11-C14", -1, 0},
        {"Arrangement Z99 'X'", -1, 0},
    };
    for (const auto& c : cases) {
        const auto found = vxe::FindingItem(c.item);
        QCOMPARE(found ? vx::KindIndex(found->first) : -1, c.kind);
        if (found) QCOMPARE(found->second, c.slot);
    }
}

void CheckEntriesTest::checkSetListsTheFindingsAndChecksAgain() {
    OneSet f;
    QVERIFY(f.set > 0);
    f.Data().arr.arr[0].SetName("POP");
    f.Data().arr.arr[0].SetStyle(vx::StyNumberOfUserIndex(1));
    Child<QAction>(*f.doc, "mnuUCheck")->trigger();
    auto* window = f.doc->findChild<vxe::FCheck*>("FCheck");
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Check of NEWSET01"));
    auto* list = Child<QTreeWidget>(*window, "lstCheck");
    QCOMPARE(Child<QLabel>(*window, "lblCheck")->text(), QString("1 finding in NEWSET01."));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(Row(list->topLevelItem(0)), (QStringList{"Arrangement C11 'POP'", "It calls Style C12, which is empty.",
                                                      "Put a style into C12 or make it call another one."}));

    // A double-click on the finding shows the arrangement it names.
    auto* tabs = Child<QTabWidget>(*f.doc, "tabMode");
    tabs->setCurrentIndex(4);
    Q_EMIT list->itemDoubleClicked(list->topLevelItem(0), 0);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(f.doc->CurrentNumber(vx::BankedKind::Arrangement), vx::ArrNumberOfUserIndex(0));

    f.Data().arr.arr[0].SetStyle(0);
    Child<QPushButton>(*window, "cmdRecheck")->click();
    QCOMPARE(Child<QLabel>(*window, "lblCheck")->text(), QString("No findings: NEWSET01 is consistent."));
    QCOMPARE(list->topLevelItemCount(), 0);
    window->close();
}

QTEST_MAIN(CheckEntriesTest)
#include "check_entries_test.moc"
