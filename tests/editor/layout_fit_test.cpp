// How much of each grid's columns a user sees: one or two new sets, tiled, in a main window of
// the smallest, a middle and a large screen size. The table of shares is printed, and every
// grid must show all its columns at 800x600 with one set, at 1024x768 with two sets and at
// 1920x1080 with either.
#include <QtTest>
#include <QtWidgets>

#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/shell/FMain.h"
#include "editor/shell/Startup.h"
#include "support/TestPaths.h"

namespace {

// The share of a grid's columns that lies inside what the frame shows of the grid.
double VisibleShare(QTableView* grid, QWidget* frame) {
    const QRect shown = QRect(grid->viewport()->mapTo(frame, QPoint(0, 0)), grid->viewport()->size()) & frame->rect();
    const int left = shown.left() - grid->viewport()->mapTo(frame, QPoint(0, 0)).x();
    const int right = left + shown.width();
    const QHeaderView* header = grid->horizontalHeader();
    double total = 0;
    double visible = 0;
    for (int c = 0; c < header->count(); ++c) {
        const int start = header->sectionViewportPosition(c);
        const int end = start + header->sectionSize(c);
        total += end - start;
        visible += std::max(0, std::min(end, right) - std::max(start, left));
    }
    return total > 0 ? visible / total : 0;
}

struct Frame {
    vx::test::TempDirectory temp;
    vxe::FMain main;
    explicit Frame(const QSize& size)
        : main(QString::fromStdString(vx::test::ProgramDir()), QString::fromStdString(temp.Str() + "/s.ini")) {
        main.LoadSettings();
        main.AttachSession(vxe::CreateSession(main.ProgramDir(), main.Opts(), main.Ui()));
        main.resize(size);
        main.show();
    }
};

}  // namespace

class LayoutFitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyColumnIsVisible();
    void tilingAndCascading();
};

void LayoutFitTest::everyColumnIsVisible() {
    const char* const grids[] = {"grdArr", "grdSty", "grdFreeS", "grdPrg", "grdArk"};
    QStringList table;
    QStringList cut;
    for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)}) {
        for (int sets : {1, 2}) {
            Frame frame(size);
            QVERIFY(frame.main.Session());
            for (int i = 0; i < sets; ++i) frame.main.Session()->OpenOrNewSet(true, "");
            frame.main.Tile();
            QCoreApplication::processEvents();
            QString line =
                QString("%1x%2 %3 set%4:").arg(size.width()).arg(size.height()).arg(sets).arg(sets > 1 ? "s" : " ");
            for (const char* name : grids) {
                double least = 1;
                for (QMdiSubWindow* sub : frame.main.MdiArea()->subWindowList()) {
                    auto* tabs = sub->widget()->findChild<QTabWidget*>("tabMode");
                    auto* grid = sub->widget()->findChild<QTableView*>(name);
                    for (int tab = 0; tab < tabs->count(); ++tab)
                        if (tabs->widget(tab)->isAncestorOf(grid)) tabs->setCurrentIndex(tab);
                    QCoreApplication::processEvents();
                    least = std::min(least, VisibleShare(grid, frame.main.MdiArea()->viewport()));
                }
                line += QString(" %1 %2%").arg(name).arg(least * 100, 5, 'f', 1);
                const bool required = size.width() >= 1024 || sets == 1;
                if (required && least < 1) cut << QString("%1 at %2").arg(name).arg(line.section(':', 0, 0));
            }
            table << line;
        }
    }
    qInfo().noquote() << "\n" + table.join('\n');
    QCOMPARE(cut.join(", "), QString());
}

void LayoutFitTest::tilingAndCascading() {
    // Windows, the frame's size, the width each needs: columns x rows.
    const struct {
        int windows;
        QSize area;
        int needed;
        const char* grid;
    } cases[] = {{1, {800, 500}, 820, "1x1"},  {2, {1024, 650}, 820, "1x2"}, {2, {1920, 950}, 820, "2x1"},
                 {3, {1920, 950}, 820, "2x2"}, {5, {1920, 950}, 600, "3x2"}, {4, {1024, 650}, 0, "2x2"},
                 {0, {1024, 650}, 820, "0x0"}};
    QStringList grids;
    for (const auto& c : cases) {
        const vxe::TileGrid grid = vxe::TileGridFor(c.windows, c.area, c.needed);
        grids << QString("%1x%2").arg(grid.columns).arg(grid.rows);
    }
    QStringList expected;
    for (const auto& c : cases) expected << c.grid;
    QCOMPARE(grids, expected);
    // Cascaded windows are wide enough for their grids and reach the frame's bottom edge.
    Frame frame(QSize(1024, 768));
    for (int i = 0; i < 3; ++i) frame.main.Session()->OpenOrNewSet(true, "");
    frame.main.Cascade();
    QCoreApplication::processEvents();
    const QRect area = frame.main.MdiArea()->viewport()->rect();
    for (QMdiSubWindow* sub : frame.main.MdiArea()->subWindowList()) {
        QCOMPARE(sub->geometry().bottom(), area.bottom());
        QVERIFY(sub->width() >= area.width() * 3 / 4);
        QCOMPARE(VisibleShare(sub->widget()->findChild<QTableView*>("grdArr"), frame.main.MdiArea()->viewport()), 1.0);
    }
}

QTEST_MAIN(LayoutFitTest)
#include "layout_fit_test.moc"
