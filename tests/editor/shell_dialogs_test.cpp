#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "catalogue/CatalogueInit.h"
#include "shell/FAbout.h"
#include "shell/FHelp.h"
#include "shell/FOptions.h"
#include "shell/FTip.h"
#include "shell/QtInteraction.h"
#include "shell/SetDialogs.h"
#include "shell_modal_answerer.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

QString Text(QWidget* parent, const char* name) {
    if (auto* label = parent->findChild<QLabel*>(name)) return label->text();
    if (auto* button = parent->findChild<QAbstractButton*>(name)) return button->text();
    return "<missing " + QString(name) + ">";
}

// A set directory NAME.SET made from the template's files, without the kinds listed in skip.
void MakeSet(const fs::path& directory, const std::string& name, const std::vector<std::string>& skip = {}) {
    fs::create_directories(directory);
    const fs::path templateDir = fs::path(vx::test::ProgramDir()) / "X50EMPTY.SET";
    for (const char* ext : {".ARR", ".STY", ".PRG", ".BSQ", ".SNG", ".ARK", ".ARG", ".GBL"}) {
        if (std::find(skip.begin(), skip.end(), ext) != skip.end()) continue;
        fs::copy_file(templateDir / (std::string("X50EMPTY") + ext), directory / (name + ext));
    }
}

}  // namespace

class ShellDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aboutTexts();
    void tipWindow();
    void helpShowsTheManual();
    void optionsDialog();
    void messageBoxesLookAndAnswer();
    void busyPointerNestsAndPauseRunsEvents();
    void openDialog();
    void saveDialog();
};

void ShellDialogsTest::aboutTexts() {
    vxe::FAbout about;
    QCOMPARE(about.windowTitle(), QString("About Vemo-x50 File Editor"));
    QCOMPARE(Text(&about, "lblTitle"), QString("Vemo-x50 File Editor"));
    QCOMPARE(Text(&about, "lblVersion"), QString("Version 1.06"));
    QCOMPARE(Text(&about, "lblDescription"),
             QString("This Program helps customizing Vemo-x50 file sets, e.g. clear, copy, paste and move \n"
                     "Arrangements, Styles, Programs etc. inside a file set or between different file sets,\n"
                     "while preserving calls consistency inside each set - and much more!"));
    QCOMPARE(Text(&about, "lblDisclaimer"), QString("CAUTION: Apply this program to COPIES, never to original files!"));
    QCOMPARE(Text(&about, "cmdOK"), QString("OK"));
    about.show();
    about.findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(!about.isVisible());
}

void ShellDialogsTest::tipWindow() {
    vx::test::TempDirectory dir;
    const QString programDir = QString::fromStdString(dir.Str());
    {
        vxe::FTip tip(programDir, true);
        QCOMPARE(tip.windowTitle(), QString("Tip of the Day"));
        QCOMPARE(Text(&tip, "lblDidYouKnow"), QString("Did you know..."));
        QCOMPARE(tip.CurrentTip(), QString("Can't find X50TIPS.TXT"));
        auto* check = tip.findChild<QCheckBox*>("chkLoadTipsAtStartup");
        QCOMPARE(check->text(), QString("&Show Tips at Start-up"));
        QCOMPARE(check->toolTip(), QString("Uncheck to disable"));
        QVERIFY(tip.ShowAtStartup());
        QCOMPARE(Text(&tip, "cmdNextTip"), QString("&Next Tip"));
        QCOMPARE(Text(&tip, "cmdOK"), QString("&Close"));
        tip.cmdNext_Click();
        QCOMPARE(tip.CurrentTip(), QString("Can't find X50TIPS.TXT"));
    }
    {
        std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::binary) << "First tip\r\nSecond tip\nThird <b>tip</b>\n";
        vxe::FTip tip(programDir, false);
        QVERIFY(!tip.ShowAtStartup());
        QCOMPARE(tip.TipCount(), 3);
        const QStringList tips{"First tip", "Second tip", "Third <b>tip</b>"};
        const qsizetype start = tips.indexOf(tip.CurrentTip());
        QVERIFY(start >= 0);
        // Next goes through the file in order and wraps from the last line to the first.
        for (int step = 1; step <= 4; ++step) {
            tip.cmdNext_Click();
            QCOMPARE(tip.CurrentTip(), tips[(start + step) % 3]);
        }
    }
    {
        std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::trunc);
        vxe::FTip tip(programDir, true);
        QCOMPARE(tip.TipCount(), 0);
        QCOMPARE(tip.CurrentTip(), QString());
        tip.cmdNext_Click();
        QCOMPARE(tip.CurrentTip(), QString());
    }
}

void ShellDialogsTest::helpShowsTheManual() {
    vxe::FHelp help(QString::fromStdString(vx::test::ProgramDir()));
    QCOMPARE(help.Browser()->documentTitle(), QString("Vemo-x50 File Editor"));
    vx::test::TempDirectory empty;
    vxe::FHelp missing(QString::fromStdString(empty.Str()));
    QCOMPARE(missing.Browser()->toPlainText(), QString("Can't find manual/index.html"));
}

void ShellDialogsTest::optionsDialog() {
    vx::Options options;
    options.StartOld = 0;
    options.WarnDupl = 1;
    options.HighCall = 1;
    vxe::FOptions dialog(options);
    QCOMPARE(dialog.windowTitle(), QString("Options"));
    const struct {
        const char* name;
        const char* text;
        bool checked;
    } boxes[] = {{"chkStartOld", "Open last Set at Start-up", false},
                 {"chkWarnDupl", "Duplicate name warning", true},
                 {"chkHighCall", "Highlight called Items", true}};
    for (const auto& b : boxes) {
        auto* box = dialog.findChild<QCheckBox*>(b.name);
        QVERIFY2(box, b.name);
        QCOMPARE(box->text(), QString(b.text));
        QCOMPARE(box->isChecked(), b.checked);
        box->toggle();
    }
    QCOMPARE(Text(&dialog, "cmdClose"), QString("&Close"));
    // Closing by the frame is Close: the dialog is hidden and the values are taken.
    dialog.show();
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    dialog.ReadBack(options);
    QCOMPARE(options.StartOld, 1);
    QCOMPARE(options.WarnDupl, 0);
    QCOMPARE(options.HighCall, 0);
}

void ShellDialogsTest::messageBoxesLookAndAnswer() {
    using MB = QMessageBox;
    const struct {
        vx::MessageIcon icon;
        vx::MessageButtons buttons;
        vx::Answer defaultButton;
        MB::StandardButton click;  // NoButton: closed with Escape
        MB::Icon qtIcon;
        MB::StandardButtons qtButtons;
        MB::StandardButton qtDefault;
        vx::Answer expected;
    } cases[] = {
        {vx::MessageIcon::Critical, vx::MessageButtons::OK, vx::Answer::OK, MB::Ok, MB::Critical, MB::Ok, MB::Ok,
         vx::Answer::OK},
        {vx::MessageIcon::Exclamation, vx::MessageButtons::OKCancel, vx::Answer::Cancel, MB::Ok, MB::Warning,
         MB::Ok | MB::Cancel, MB::Cancel, vx::Answer::OK},
        {vx::MessageIcon::Exclamation, vx::MessageButtons::YesNoCancel, vx::Answer::Cancel, MB::No, MB::Warning,
         MB::Yes | MB::No | MB::Cancel, MB::Cancel, vx::Answer::No},
        {vx::MessageIcon::Question, vx::MessageButtons::YesNo, vx::Answer::No, MB::Yes, MB::Question, MB::Yes | MB::No,
         MB::No, vx::Answer::Yes},
        {vx::MessageIcon::Information, vx::MessageButtons::OK, vx::Answer::OK, MB::NoButton, MB::Information, MB::Ok,
         MB::Ok, vx::Answer::OK},
        {vx::MessageIcon::Question, vx::MessageButtons::YesNo, vx::Answer::No, MB::NoButton, MB::Question,
         MB::Yes | MB::No, MB::No, vx::Answer::No},
        {vx::MessageIcon::None, vx::MessageButtons::YesNoCancel, vx::Answer::Cancel, MB::NoButton, MB::NoIcon,
         MB::Yes | MB::No | MB::Cancel, MB::Cancel, vx::Answer::Cancel},
    };
    vxe::QtInteraction ui;
    for (const auto& c : cases) {
        QWidget* seen = nullptr;
        QString text;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            seen = box;
            if (!box) return;
            QCOMPARE(box->icon(), c.qtIcon);
            QCOMPARE(box->standardButtons(), c.qtButtons);
            QCOMPARE(box->standardButton(box->defaultButton()), c.qtDefault);
            QCOMPARE(box->windowTitle(), QString("Save a Set"));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            text = box->text();
            if (c.click == MB::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.click)->click();
        });
        const vx::Answer answer =
            ui.ShowMessage({"<b>A.SET</b> exists.\nOverwrite it?", "Save a Set", c.icon, c.buttons, c.defaultButton});
        QVERIFY(seen);
        QCOMPARE(text, QString("<b>A.SET</b> exists.\nOverwrite it?"));
        QVERIFY(answer == c.expected);
    }
}

void ShellDialogsTest::busyPointerNestsAndPauseRunsEvents() {
    vxe::QtInteraction ui;
    QApplication::setOverrideCursor(Qt::IBeamCursor);
    ui.SetBusy(true);
    ui.SetBusy(true);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusy(false);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusy(false);
    // An unmatched end of a busy period leaves other people's pointers alone.
    ui.SetBusy(false);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    QApplication::restoreOverrideCursor();

    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    ui.Pause(0.1);
    QVERIFY(fired);
    QVERIFY(clock.elapsed() >= 90);
    clock.restart();
    ui.Pause(-1);
    ui.Pause(std::numeric_limits<double>::quiet_NaN());
    QVERIFY(clock.elapsed() < 50);
}

void ShellDialogsTest::openDialog() {
    vx::test::TempDirectory dir;
    const fs::path sets = dir.Path() / "sets";
    MakeSet(sets / "LIVE.SET", "LIVE");
    MakeSet(sets / "gigs.set", "GIGS", {".GBL"});
    fs::create_directories(sets / "OTHER");

    vx::test::ScriptedInteraction ui;
    auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
    QVERIFY(catalogue);
    vx::Options options;
    options.PathNam = sets.string();
    vx::Session session(std::move(*catalogue), vx::PresetTables{}, options, ui);

    vxe::FSetDialog dialog(session, vxe::FSetDialog::Mode::Open);
    QCOMPARE(dialog.windowTitle(), QString("Select a Vemo-x50 Set"));
    auto* ok = dialog.findChild<QPushButton*>("cmdOK");
    auto* name = dialog.findChild<QLineEdit*>("txtSetName");
    auto* list = dialog.findChild<QListWidget*>("lstDir");
    QCOMPARE(ok->text(), QString("&Open"));
    QCOMPARE(Text(&dialog, "cmdCancel"), QString("&Cancel"));
    QCOMPARE(name->toolTip(), QString("You can type a Set Name here"));
    QCOMPARE(list->toolTip(), QString("Double click to select"));
    QCOMPARE(dialog.findChild<QWidget*>("lstDrive")->toolTip(), QString("Selected Drive"));
    QVERIFY(ok->isHidden());
    QCOMPARE(dialog.CurrentDirectory(), QString::fromStdString(sets.string()));
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    QCOMPARE(entries, (QStringList{"..", "gigs.set", "LIVE.SET", "OTHER"}));

    // A set with a missing file: refusing to create it leaves OK hidden.
    ui.answers = {vx::Answer::Cancel};
    dialog.lstDir_DblClick(list->item(1));
    QCOMPARE(name->text(), QString("gigs"));
    QVERIFY(ok->isHidden());
    QCOMPARE(ui.Last().text, std::string("GIGS.GBL is missing.\nCreate it?"));
    QCOMPARE(ui.Last().title, std::string("Open a Set"));

    // Agreeing creates it from the template and offers OK.
    dialog.ChangeDirectory(QString::fromStdString(sets.string()));
    QVERIFY(ok->isHidden());
    ui.answers = {vx::Answer::OK};
    dialog.ChangeDirectory(QString::fromStdString((sets / "gigs.set").string()));
    QVERIFY(!ok->isHidden());
    QVERIFY(fs::exists(sets / "gigs.set" / "GIGS.GBL"));

    // A directory that is not a set hides OK again; typing shows it.
    dialog.ChangeDirectory(QString::fromStdString((sets / "OTHER").string()));
    QVERIFY(ok->isHidden());
    dialog.ChangeDirectory(QString::fromStdString(sets.string()));
    name->clear();
    QTest::keyClicks(name, "live");
    QVERIFY(!ok->isHidden());
    dialog.cmdOK_Click();
    QCOMPARE(name->text(), QString("LIVE"));
    QCOMPARE(dialog.Result(), (sets / "LIVE.SET").string());
    QCOMPARE(options.PathNam, sets.string());

    // The same set cannot be opened twice; the list goes back to the parent.
    QVERIFY(session.OpenOrNewSet(false, (sets / "LIVE.SET").string()) == 1);
    vxe::FSetDialog again(session, vxe::FSetDialog::Mode::Open);
    again.ChangeDirectory(QString::fromStdString((sets / "LIVE.SET").string()));
    again.cmdOK_Click();
    QCOMPARE(again.Result(), std::string());
    QCOMPARE(ui.Last().text, (sets / "LIVE.SET").string() + " is already open");
    QCOMPARE(again.CurrentDirectory(), QString::fromStdString(sets.string()));

    // A PathNam that is gone starts in the program directory.
    options.PathNam = (dir.Path() / "gone").string();
    vxe::FSetDialog fallback(session, vxe::FSetDialog::Mode::Open);
    QCOMPARE(fallback.CurrentDirectory(), QDir(QString::fromStdString(vx::test::ProgramDir())).absolutePath());
    QCOMPARE(options.PathNam, vx::test::ProgramDir());
}

void ShellDialogsTest::saveDialog() {
    vx::test::TempDirectory dir;
    const fs::path sets = dir.Path() / "sets";
    MakeSet(sets / "LIVE.SET", "LIVE");
    vx::test::ScriptedInteraction ui;
    auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
    QVERIFY(catalogue);
    vx::Options options;
    options.PathNam = sets.string();
    vx::Session session(std::move(*catalogue), vx::PresetTables{}, options, ui);

    vxe::FSetDialog dialog(session, vxe::FSetDialog::Mode::Save);
    QCOMPARE(dialog.windowTitle(), QString("Select a Vemo-x50 *.SET destination directory"));
    auto* ok = dialog.findChild<QPushButton*>("cmdOK");
    auto* name = dialog.findChild<QLineEdit*>("txtSetName");
    QCOMPARE(ok->text(), QString("&Save"));
    QVERIFY(ok->isHidden());
    dialog.SetProposedName("NEWSET01");
    QVERIFY(!ok->isHidden());
    // Choosing an existing set takes its name; declining to overwrite keeps the dialog open.
    dialog.ChangeDirectory(QString::fromStdString((sets / "LIVE.SET").string()));
    QCOMPARE(name->text(), QString("LIVE"));
    ui.answers = {vx::Answer::Cancel};
    dialog.cmdOK_Click();
    QCOMPARE(dialog.Result(), std::string());
    QCOMPARE(ui.Last().text, std::string("This Set already exists.\nOverwrite it?"));
    name->setText("fresh");
    dialog.cmdOK_Click();
    QCOMPARE(dialog.Result(), (sets / "FRESH.SET" / "FRESH").string());
    QVERIFY(fs::is_directory(sets / "FRESH.SET"));
}

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
