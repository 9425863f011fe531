#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "catalogue/CatalogueInit.h"
#include "presets/PresetNames.h"
#include "selection/FInBanked.h"
#include "selection/FInNote.h"
#include "selection/SelectionDialogs.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

// A session with one new set whose program categories are all "User" except those a test sets.
struct Picker {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    int set = 0;

    Picker() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        options.PathNam = temp.Str();
        vx::PresetTables presets;
        presets.programsAB[1] = {Name16("Bright Piano"), 14};
        presets.programsCD[3] = {Name16("Timpani"), 14};
        presets.drumKitsR[0] = {Name16("Std Kit"), 14};
        presets.programsAB[0] = {Name16("Grand Piano"), 0};
        if (catalogue) session = std::make_unique<vx::Session>(std::move(*catalogue), presets, options, ui);
        if (session) set = session->OpenOrNewSet(true, "");
        if (set > 0)
            for (auto& program : session->Data(set).prg.records) program.SetCategory(15);
    }
};

QStringList Texts(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

// Clicks a button of the modal dialog once it shows.
void ClickWhenShown(const char* button, std::function<void(QWidget*)> before = {}) {
    QTimer::singleShot(0, [button, before] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        if (before) before(dialog);
        dialog->findChild<QPushButton*>(button)->click();
    });
}

}  // namespace

class SelectionDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void programDialogStartsOnItsNumberOrOnA11();
    void categoryListsEveryBankInNumberOrder();
    void arrangementAndStyleDialogs();
    void modalPickReturnsTheChoiceOrMinusOne();
    void noteAndChannelLists();
};

void SelectionDialogsTest::programDialogStartsOnItsNumberOrOnA11() {
    Picker picker;
    QVERIFY(picker.set > 0);
    picker.session->Data(picker.set).prg.records[129].SetName("My Kit");

    vxe::FInBanked start(*picker.session, picker.set, vx::BankedKind::Program, 1057, "for track 'Trk  1'");
    QCOMPARE(start.objectName(), QString("FInPrg"));
    QCOMPARE(start.windowTitle(), QString("Select a Program for track 'Trk  1'"));
    auto* cboBnk = start.findChild<QComboBox*>("cboBnk");
    auto* cboCat = start.findChild<QComboBox*>("cboCat");
    auto* cboRef = start.findChild<QComboBox*>("cboRef");
    QCOMPARE(Texts(cboBnk).join(""), QString("ABCDEFGR"));
    QCOMPARE(cboBnk->currentText(), QString("R"));
    QCOMPARE(cboBnk->currentData().toInt(), 39);
    QCOMPARE(cboCat->count(), 16);
    QCOMPARE(cboCat->itemText(14), QString("Drum/Perc."));
    QCOMPARE(cboCat->itemData(14).toInt(), 14);
    QCOMPARE(cboCat->currentIndex(), -1);
    QCOMPARE(cboRef->count(), 40);
    QCOMPARE(cboRef->currentText(), QString::fromStdString("R52 " + Name16("My Kit")));
    QCOMPARE(cboRef->currentData().toInt(), 1057);
    QCOMPARE(start.Chosen(), -1);

    for (int number : {2000, -1, 128, 896}) {
        vxe::FInBanked dialog(*picker.session, picker.set, vx::BankedKind::Program, number, "");
        QCOMPARE(dialog.findChild<QComboBox*>("cboBnk")->currentIndex(), 0);
        QCOMPARE(dialog.findChild<QComboBox*>("cboRef")->currentText(),
                 QString::fromStdString("A11 " + Name16("Grand Piano")));
    }
}

void SelectionDialogsTest::categoryListsEveryBankInNumberOrder() {
    Picker picker;
    QVERIFY(picker.set > 0);
    auto& programs = picker.session->Data(picker.set).prg.records;
    programs[64].SetName("Congas");
    programs[64].SetCategory(14);
    programs[130].SetCategory(14);

    vxe::FInBanked dialog(*picker.session, picker.set, vx::BankedKind::Program, 768, "");
    auto* cboCat = dialog.findChild<QComboBox*>("cboCat");
    auto* cboRef = dialog.findChild<QComboBox*>("cboRef");
    cboCat->setCurrentIndex(14);
    QCOMPARE(Texts(cboRef),
             (QStringList{QString::fromStdString("A12 " + Name16("Bright Piano")),
                          QString::fromStdString("C14 " + Name16("Timpani")),
                          QString::fromStdString("G11 " + Name16("Congas")),
                          QString::fromStdString("R11 " + Name16("Std Kit")), QString("R53 ") + QString(16, ' ')}));
    QCOMPARE(cboRef->itemData(2).toInt(), 832);
    cboRef->setCurrentIndex(2);
    dialog.findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(dialog.Chosen(), 832);

    // Another bank lists its own slots again and forgets the category.
    vxe::FInBanked again(*picker.session, picker.set, vx::BankedKind::Program, 768, "");
    again.findChild<QComboBox*>("cboCat")->setCurrentIndex(14);
    again.findChild<QComboBox*>("cboBnk")->setCurrentIndex(4);
    QCOMPARE(again.findChild<QComboBox*>("cboCat")->currentIndex(), -1);
    auto* ref = again.findChild<QComboBox*>("cboRef");
    QCOMPARE(ref->count(), 64);
    QCOMPARE(ref->itemData(0).toInt(), 512);
    QCOMPARE(ref->currentIndex(), 0);

    // A category without items leaves nothing to choose: OK gives no program.
    vxe::FInBanked empty(*picker.session, picker.set, vx::BankedKind::Program, 768, "");
    empty.findChild<QComboBox*>("cboCat")->setCurrentIndex(9);
    QCOMPARE(empty.findChild<QComboBox*>("cboRef")->count(), 0);
    empty.findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(empty.Chosen(), -1);
}

void SelectionDialogsTest::arrangementAndStyleDialogs() {
    Picker picker;
    QVERIFY(picker.set > 0);
    vxe::FInBanked arr(*picker.session, picker.set, vx::BankedKind::Arrangement, 320, "");
    QCOMPARE(arr.objectName(), QString("FInArr"));
    QCOMPARE(arr.windowTitle(), QString("Select an Arrangement"));
    QCOMPARE(Texts(arr.findChild<QComboBox*>("cboBnk")).join(""), QString("ABCD"));
    QCOMPARE(arr.findChild<QComboBox*>("cboBnk")->currentIndex(), 3);
    QCOMPARE(arr.findChild<QComboBox*>("cboRef")->currentData().toInt(), 320);
    QCOMPARE(arr.findChild<QComboBox*>("cboCat")->itemText(0), QString("8 Beat"));

    vxe::FInBanked sty(*picker.session, picker.set, vx::BankedKind::Style, 303, "");
    QCOMPARE(sty.objectName(), QString("FInSty"));
    QCOMPARE(sty.windowTitle(), QString("Select a Style"));
    QCOMPARE(Texts(sty.findChild<QComboBox*>("cboBnk")).join(""), QString("ABC"));
    QCOMPARE(sty.findChild<QComboBox*>("cboRef")->count(), 48);
    QCOMPARE(sty.findChild<QComboBox*>("cboRef")->currentIndex(), 47);
    sty.findChild<QPushButton*>("cmdCancel")->click();
    QCOMPARE(sty.Chosen(), -1);
}

void SelectionDialogsTest::modalPickReturnsTheChoiceOrMinusOne() {
    Picker picker;
    QVERIFY(picker.set > 0);
    ClickWhenShown("cmdOK");
    QCOMPARE(vxe::FInPrgPick(*picker.session, picker.set, 259, "", nullptr), 259);
    ClickWhenShown("cmdCancel");
    QCOMPARE(vxe::FInPrgPick(*picker.session, picker.set, 259, "", nullptr), -1);
    ClickWhenShown("cmdOK", [](QWidget* dialog) { dialog->findChild<QComboBox*>("cboRef")->setCurrentIndex(5); });
    QCOMPARE(vxe::FInArrPick(*picker.session, picker.set, 256, "", nullptr), 261);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
    });
    QCOMPARE(vxe::FInStyPick(*picker.session, picker.set, 0, "", nullptr), -1);
}

void SelectionDialogsTest::noteAndChannelLists() {
    const QStringList notes{"C2", "C#2", "D2"};
    vxe::FInNote none("Set All KBD Sets Split Key", "Split Key", notes, -1);
    QCOMPARE(none.windowTitle(), QString("Set All KBD Sets Split Key"));
    QCOMPARE(none.findChild<QLabel*>("lblNote")->text(), QString("Split Key"));
    none.show();
    // OK means nothing until an entry is selected.
    none.findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(none.isVisible());
    QCOMPARE(none.Chosen(), -1);
    none.findChild<QComboBox*>("cboNote")->setCurrentIndex(2);
    none.findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(!none.isVisible());
    QCOMPARE(none.Chosen(), 2);

    ClickWhenShown("cmdOK");
    QCOMPARE(vxe::FInNotePick("Set KBD Set 11 Split Key", "Split Key", notes, 1, nullptr), 1);
    ClickWhenShown("cmdCancel");
    QCOMPARE(vxe::FInNotePick("Set KBD Set 11 Split Key", "Split Key", notes, 1, nullptr), -1);

    QString caption;
    ClickWhenShown("cmdOK", [&caption](QWidget* dialog) {
        caption = dialog->windowTitle();
        QCOMPARE(dialog->objectName(), QString("FInMidCh"));
        dialog->findChild<QComboBox*>("cboMidCh")->setCurrentIndex(15);
    });
    QStringList channels;
    for (int i = 1; i <= 16; ++i) channels << QString::number(i);
    QCOMPARE(vxe::FInMidChPick("", channels, 0, nullptr), 15);
    QCOMPARE(caption, QString("MIDI Channel Selection"));
    ClickWhenShown("cmdCancel");
    QCOMPARE(vxe::FInMidChPick("Channel", channels, 3, nullptr), -1);
}

QTEST_MAIN(SelectionDialogsTest)
#include "selection_dialogs_test.moc"
