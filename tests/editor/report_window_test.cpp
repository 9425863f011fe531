#include <QtTest>
#include <QtWidgets>

#include <QPrinter>

#include "core/reports/SetReport.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/reports/FReport.h"
#include "editor/shell/ShellServices.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"
#include "editor/views/ViewSetup.h"

namespace {

const std::string kDate = "5-Dec-2026 02:07:30";

// The document window asks nothing of the shell in these tests.
class QuietShell : public vxe::ShellServices {
public:
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
};

// A session on the shipped template with one new set, NEWSET01.
struct Fixture {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    int set = 0;

    Fixture() {
        options.PathNam = temp.Str();
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        if (catalogue) session = std::make_unique<vx::Session>(std::move(*catalogue), vx::PresetTables{}, options, ui);
        if (session) set = session->OpenOrNewSet(true, "");
    }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    if (T* child = parent.findChild<T*>(name)) return child;
    qFatal("no child %s", name);
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheReportAndKeepsItsLayout();
    void printsToPdfWithTheHeading();
    void wrapsLongCallLinesOnPaper();
    void savesTheTextAsItIs();
    void utilitiesFollowTheTab();
};

void ReportWindowTest::showsTheReportAndKeepsItsLayout() {
    Fixture f;
    QVERIFY(f.set > 0);
    const std::string report = vx::CreateSetReport(*f.session, f.set, kDate);
    vxe::FReport window(*f.session, f.set, report);
    QCOMPARE(window.windowTitle(), QString("Report on NEWSET01"));
    auto* txtRep = Child<QPlainTextEdit>(window, "txtRep");
    QCOMPARE(txtRep->toPlainText(), QString::fromLatin1(report.data()).remove('\r'));

    // A fixed width that shows a whole 100-column line; the text box takes the height less 1035
    // twips, the buttons sit 810 twips above the bottom.
    const int width = window.width();
    const int line = QFontMetrics(txtRep->font()).horizontalAdvance(QString(100, 'M'));
    QVERIFY(width >= vxe::TwipsToPixels(window, 11085));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(width + 200, 500);
    QCoreApplication::processEvents();
    QCOMPARE(window.width(), width);
    QCOMPARE(txtRep->height(), 500 - vxe::TwipsToPixels(window, 1035));
    QCOMPARE(Child<QPushButton>(window, "cmdClose")->y(), 500 - vxe::TwipsToPixels(window, 810));
    QVERIFY2(txtRep->viewport()->width() - 2 * txtRep->document()->documentMargin() >= line,
             qPrintable(QString("%1 < %2").arg(txtRep->viewport()->width()).arg(line)));
}

void ReportWindowTest::printsToPdfWithTheHeading() {
    Fixture f;
    QVERIFY(f.set > 0);
    vxe::FReport window(*f.session, f.set, vx::CreateSetReport(*f.session, f.set, kDate));
    const QString pdf = QString::fromStdString(f.temp.Str()) + "/report.pdf";
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(pdf);
    QVERIFY(window.cmdPrint_Click());
    QVERIFY(f.ui.messages.empty());

    auto pdftotext = [&](const QStringList& options) {
        QProcess process;
        process.start("pdftotext", options + QStringList{pdf, "-"});
        process.waitForFinished(30000);
        return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
    };
    const QStringList pages = pdftotext({"-layout"}).split('\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() > 1);
    QCOMPARE(pages[0].trimmed().section('\n', 0, 0).trimmed(), QString("Vemo-x50 Set Report"));
    QVERIFY(pages[0].contains(QRegularExpression("\nNEWSET01 +5-Dec-2026 02:07:30\n")));
    QVERIFY(pages[0].contains(QRegularExpression("\nC11 +C12 +C13 +C14 *\n")));
    QVERIFY(pages.join("").contains("CALLS to User ARRANGEMENTS in NEWSET01"));

    // The title stands on the fifth line of the page: four empty lines come first.
    const QString boxes = pdftotext({"-bbox", "-f", "1", "-l", "1"});
    auto top = [&](const QString& word) {
        const auto match = QRegularExpression("yMin=\"([0-9.]+)\"[^>]*>" + word + "<").match(boxes);
        return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    };
    const double title = top("Vemo-x50");
    const double lineHeight = (top("NEWSET01") - title) / 3;
    const double margin = window.Printer().pageLayout().paintRect(QPageLayout::Point).top();
    QVERIFY(title > 0 && lineHeight > 0);
    QCOMPARE(static_cast<int>((title - margin) / lineHeight), 4);
}

void ReportWindowTest::wrapsLongCallLinesOnPaper() {
    const struct {
        QString line;
        int width;
        QStringList printed;
    } cases[] = {
        {"F11: A11 Upper1, A12 Upper2, A13 Lower", 20, {"F11: A11 Upper1,", "     A12 Upper2,", "     A13 Lower"}},
        {QString(25, 'x'), 10, {QString(10, 'x'), "     xxxxx", "     xxxxx", "     xxxxx"}},
        {QString(100, '_'), 100, {QString(100, '_')}},
        {"", 100, {""}},
    };
    for (const auto& c : cases) QCOMPARE(vxe::PrintedLines(c.line, c.width), c.printed);

    // A program called 20 times: 174 characters on one line, every caller on paper.
    QStringList callers;
    for (int i = 0; i < 20; ++i) callers << QString("C%1%2 Upper1").arg(1 + i / 8).arg(1 + i % 8);
    const QString line = "F11: " + callers.join(", ");
    QCOMPARE(line.size(), 5 + 20 * 10 + 19 * 2);
    Fixture f;
    const QString pdf = QString::fromStdString(f.temp.Str()) + "/calls.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(vxe::PrintReportText("CALLS\n" + line + "\n", vxe::FixedPitchFont(), printer));
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(process.waitForFinished(30000) && process.exitCode() == 0);
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& caller : callers) QVERIFY2(text.contains(caller), qPrintable(caller + " missing in:\n" + text));
}

void ReportWindowTest::savesTheTextAsItIs() {
    Fixture f;
    QVERIFY(f.set > 0);
    const std::string report = vx::CreateSetReport(*f.session, f.set, kDate);
    vxe::FReport window(*f.session, f.set, report);
    const std::string file = f.temp.Str() + "/SAVED.TXT";
    f.ui.fileAnswers = {file};
    QVERIFY(window.cmdSave_Click());
    QCOMPARE(vx::test::ReadFileBytes(file), std::vector<std::uint8_t>(report.begin(), report.end()));
    QCOMPARE(f.ui.fileRequests.at(0).initialName, std::string("NEWSET01.TXT"));
}

void ReportWindowTest::utilitiesFollowTheTab() {
    Fixture f;
    QVERIFY(f.set > 0);
    QuietShell shell;
    vxe::FDoc doc(*f.session, shell, f.set);
    doc.Fill();
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    QString shown;
    for (int tab = 0; tab < 6; ++tab) {
        tabs->setCurrentIndex(tab);
        for (const char* name : {"mnuUReport", "mnuUSSRep", "mnuUSwapPreset", "mnuUExPreset"}) {
            auto* action = Child<QAction>(doc, name);
            shown += !action->isVisible() ? "-" : action->isEnabled() ? "E" : "d";
        }
        shown += " ";
    }
    // The subset report exists for tabs 0 to 2 only.
    QCOMPARE(shown, QString("EEEE EE-- EE-E Ed-- Ed-- Ed-- "));

    vxe::FReport* report = doc.mnuUReport_Click();
    QVERIFY(report != nullptr && report->isVisible());
    QCOMPARE(report->windowTitle(), QString("Report on NEWSET01"));
    QCOMPARE(f.ui.progressTitles.back(), std::string("Creating Set Report..."));
    report->close();
}

QTEST_MAIN(ReportWindowTest)
#include "report_window_test.moc"
