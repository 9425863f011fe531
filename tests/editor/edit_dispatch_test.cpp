#include <QtTest>
#include <QtWidgets>

#include <map>

#include "document/FDoc.h"
#include "editing/EditScheme.h"
#include "shell/ShellServices.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

// Tells the document windows what changed, as the main window does.
class ForwardingUi : public vx::test::ScriptedInteraction {
public:
    std::map<int, vxe::FDoc*> docs;
    void KindChanged(int set, vx::ItemKind kind) override {
        ScriptedInteraction::KindChanged(set, kind);
        if (docs.count(set)) docs[set]->OnKindChanged(kind);
    }
    void ItemChanged(int set, vx::ItemKind kind, int number) override {
        ScriptedInteraction::ItemChanged(set, kind, number);
        if (docs.count(set)) docs[set]->OnItemChanged(kind, number);
    }
    void UndoAvailabilityChanged(int set, bool available) override {
        ScriptedInteraction::UndoAvailabilityChanged(set, available);
        if (docs.count(set)) docs[set]->SetUndoAvailable(available);
    }
};

class Shell : public vxe::ShellServices {
public:
    vx::EditScheme* scheme = nullptr;
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
};

// Two new sets, each in its window showing the arrangements.
struct TwoSets {
    ForwardingUi ui;
    vx::Options options;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;
    Shell shell;
    std::unique_ptr<vxe::FDoc> docs[2];

    TwoSets() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        if (!catalogue) return;
        session = std::make_unique<vx::Session>(std::move(*catalogue), vx::PresetTables{}, options, ui);
        scheme = std::make_unique<vx::EditScheme>(*session);
        shell.scheme = scheme.get();
        options.ModeId = 0;
        for (auto& doc : docs) {
            const int set = session->OpenOrNewSet(true, "");
            doc = std::make_unique<vxe::FDoc>(*session, shell, set);
            ui.docs[set] = doc.get();
            doc->Fill();
        }
    }
    vx::SetData& Data(int set) { return session->Data(set); }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", name);
    return child;
}

QString EnabledEdits(vxe::FDoc& doc) {
    QStringList names;
    for (QAction* action : doc.Menus()[1]->actions())
        if (!action->isSeparator() && action->isEnabled()) names << action->objectName().mid(4);
    return names.join(' ');
}

}  // namespace

class EditDispatchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dragBetweenWindowsCopiesAndUndoRestores();
    void menuCommandsFollowTheKindShown();
};

void EditDispatchTest::dragBetweenWindowsCopiesAndUndoRestores() {
    TwoSets sets;
    QVERIFY(sets.session);
    sets.Data(1).arr.arr[0].SetName("Travelling");
    sets.Data(2).arr.arr[1].SetName("Old One");
    auto* from = Child<QTableView>(*sets.docs[0], "grdArr");
    auto* to = Child<QTableView>(*sets.docs[1], "grdArr");
    std::unique_ptr<QMimeData> drag(from->model()->mimeData({from->model()->index(0, 0)}));
    QVERIFY(drag);
    // Another kind's grid refuses it, as does a preset cell.
    auto* programs = Child<QTableView>(*sets.docs[1], "grdPrg");
    QVERIFY(!programs->model()->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, programs->model()->index(0, 0)));

    QVERIFY(to->model()->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, to->model()->index(0, 1)));
    QCOMPARE(to->model()->index(0, 1).data().toString(), "C12 Travelling       (A11)");
    QCOMPARE(QString::fromStdString(sets.Data(1).arr.arr[0].Name()), "Travelling      ");
    QCOMPARE(Child<QAction>(*sets.docs[1], "mnuEUndo")->text(), QString("&Undo"));
    QVERIFY(Child<QAction>(*sets.docs[1], "mnuEUndo")->isEnabled());
    QCOMPARE(sets.scheme->UndoOf(vx::ItemKind::Arrangement).op, 5);

    Child<QAction>(*sets.docs[1], "mnuEUndo")->trigger();
    QCOMPARE(to->model()->index(0, 1).data().toString(), "C12 Old One          (A11)");
    QCOMPARE(Child<QAction>(*sets.docs[1], "mnuEUndo")->text(), QString("Can't Undo"));
}

void EditDispatchTest::menuCommandsFollowTheKindShown() {
    TwoSets sets;
    QVERIFY(sets.session);
    vxe::FDoc& doc = *sets.docs[0];
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    QString shown;
    for (int tab : {0, 1, 2, 3, 4, 5}) {
        tabs->setCurrentIndex(tab);
        shown += QString::number(tab) + ":" + EnabledEdits(doc) + " ";
    }
    QCOMPARE(shown, QString("0:Cut Copy Paste Delete Insert Details EraseBnk Import "
                            "1:Cut Copy Paste Details EraseBnk Import "
                            "2:Cut Copy Paste Delete Insert Details EraseBnk Import "
                            "3:Cut Copy Paste Delete Insert Details EraseBnk Import "
                            "4:Cut Copy Paste Delete Insert Details EraseBnk Import "
                            "5:Copy Paste EraseBnk Import "));

    // Copy and Paste of a program through the menu: the slot selected is the one written.
    tabs->setCurrentIndex(2);
    sets.Data(1).prg.records[0].SetName("Piano");
    doc.GoToNumber(vx::BankedKind::Program, 768);
    Child<QAction>(doc, "mnuECopy")->trigger();
    doc.GoToNumber(vx::BankedKind::Program, 771);
    Child<QAction>(doc, "mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[3].Name()), "Piano           ");
    QCOMPARE(sets.ui.Texts(), std::vector<std::string>{"Program duplicate name\nF14 - F11  (Piano)"});
    QVERIFY(Child<QAction>(doc, "mnuEUndo")->isEnabled());
}

QTEST_MAIN(EditDispatchTest)
#include "edit_dispatch_test.moc"
