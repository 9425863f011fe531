#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/storage/Session.h"
#include "editor/selection/FInBanked.h"
#include "editor/selection/FInNote.h"
#include "editor/selection/SelectionDialogs.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

QString Name16(const QString& name) { return name.leftJustified(16); }

QString Caption(QWidget* dialog) { return dialog->objectName() + ":" + dialog->windowTitle(); }
QComboBox* Combo(QWidget& dialog, const char* name) { return dialog.findChild<QComboBox*>(name); }

QStringList Texts(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

// Clicks a button of the modal dialog once it shows; no button: closes it by its frame.
void ClickWhenShown(const char* button, std::function<void(QWidget*)> before = {}) {
    QTimer::singleShot(0, [button, before] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && before) before(dialog);
        if (dialog) button ? dialog->findChild<QPushButton*>(button)->click() : void(dialog->close());
    });
}

}  // namespace

class SelectionDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickDialogs();
};

void SelectionDialogsTest::pickDialogs() {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::PresetTables presets;
    presets.programsAB[0] = {"Grand Piano     ", 0};
    presets.programsAB[1] = {"Bright Piano    ", 14};
    presets.programsCD[3] = {"Timpani         ", 14};
    presets.drumKitsR[0] = {"Std Kit         ", 14};
    auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
    QVERIFY(catalogue);
    vx::Session session(std::move(*catalogue), presets, options, ui);
    const int set = session.OpenOrNewSet(true, "");
    QVERIFY(set > 0);
    auto& programs = session.Data(set).prg.records;
    for (auto& program : programs) program.SetCategory(15);
    programs[64].SetName("Congas");
    programs[64].SetCategory(14);
    programs[129].SetName("My Kit");
    programs[130].SetCategory(14);
    vxe::FInBanked prg(session, set, vx::BankedKind::Program, 1057, "for track 'Trk  1'");
    QCOMPARE(Caption(&prg), QString("FInPrg:Select a Program for track 'Trk  1'"));
    QCOMPARE(Texts(Combo(prg, "cboBnk")).join(""), QString("ABCDEFGR"));
    QCOMPARE(Combo(prg, "cboCat")->itemText(14), QString("Drum/Perc."));
    QCOMPARE(Combo(prg, "cboRef")->currentText(), "R52 " + Name16("My Kit"));
    for (int number : {2000, -1, 128, 896}) {
        vxe::FInBanked dialog(session, set, vx::BankedKind::Program, number, "");
        QCOMPARE(Combo(dialog, "cboRef")->currentText(), "A11 " + Name16("Grand Piano"));
    }
    // The category filter lists every bank in number order.
    Combo(prg, "cboCat")->setCurrentIndex(14);
    QCOMPARE(Texts(Combo(prg, "cboRef")),
             (QStringList{"A12 " + Name16("Bright Piano"), "C14 " + Name16("Timpani"), "G11 " + Name16("Congas"),
                          "R11 " + Name16("Std Kit"), "R53 " + Name16("")}));
    Combo(prg, "cboRef")->setCurrentIndex(2);
    prg.findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(prg.Chosen(), 832);
    // Another bank lists its own slots again and forgets the category.
    Combo(prg, "cboBnk")->setCurrentIndex(4);
    QCOMPARE(Combo(prg, "cboCat")->currentIndex(), -1);
    QCOMPARE(Combo(prg, "cboRef")->currentData().toInt(), 512);
    // A category without items leaves nothing to choose: OK gives no program.
    Combo(prg, "cboCat")->setCurrentIndex(9);
    prg.findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(prg.Chosen(), -1);
    ClickWhenShown("cmdCancel");
    QCOMPARE(vxe::FInPrgPick(session, set, 259, "", nullptr), -1);
    QString caption;
    ClickWhenShown("cmdOK", [&caption](QWidget* dialog) {
        caption = Caption(dialog) + ":" + Combo(*dialog, "cboBnk")->currentText();
        Combo(*dialog, "cboRef")->setCurrentIndex(5);
    });
    QCOMPARE(vxe::FInArrPick(session, set, 320, "", nullptr), 325);
    QCOMPARE(caption, QString("FInArr:Select an Arrangement:D"));
    ClickWhenShown(nullptr, [&caption](QWidget* dialog) { caption = Caption(dialog); });
    QCOMPARE(vxe::FInStyPick(session, set, 0, "", nullptr), -1);
    QCOMPARE(caption, QString("FInSty:Select a Style"));
    vxe::FInNote note("Set All KBD Sets Split Key", "Split Key", {"C2", "C#2", "D2"}, -1);
    note.show();
    note.findChild<QPushButton*>("cmdOK")->click();  // nothing selected yet: OK does nothing
    QVERIFY(note.isVisible());
    Combo(note, "cboNote")->setCurrentIndex(2);
    note.findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(!note.isVisible() && note.Chosen() == 2);
    ClickWhenShown("cmdOK");
    QCOMPARE(vxe::FInNotePick("Set KBD Set 11 Split Key", "Split Key", {"C2", "C#2"}, 1, nullptr), 1);
    ClickWhenShown("cmdOK", [&caption](QWidget* dialog) {
        caption = Caption(dialog);
        Combo(*dialog, "cboMidCh")->setCurrentIndex(15);
    });
    QCOMPARE(vxe::FInMidChPick("", QString("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16").split(' '), 0, nullptr), 15);
    QCOMPARE(caption, QString("FInMidCh:MIDI Channel Selection"));
}

QTEST_MAIN(SelectionDialogsTest)
#include "selection_dialogs_test.moc"
