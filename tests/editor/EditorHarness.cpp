#include "EditorHarness.h"

#include <QtTest>

#include "core/changes/SetChange.h"
#include "editor/shell/Startup.h"
#include "support/Golden.h"

namespace fs = std::filesystem;

namespace vxt {

QString Text(QAbstractItemView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

QString Shown(QWidget& parent, const QStringList& names) {
    QStringList shown;
    for (const QString& wanted : names) {
        const qsizetype at = wanted.indexOf('@');
        const QChar mark = wanted.back();
        const bool flag = mark == '#' || mark == '?' || mark == '*' || mark == '/';
        auto* child = Child<QObject>(parent, qPrintable(at >= 0 ? wanted.left(at) : flag ? wanted.chopped(1) : wanted));
        auto* combo = qobject_cast<QComboBox*>(child);
        auto* list = qobject_cast<QListWidget*>(child);
        QStringList entries;
        for (int i = 0; combo && i < combo->count(); ++i) entries << combo->itemText(i);
        for (int i = 0; list && i < list->count(); ++i) entries << list->item(i)->text();
        if (at >= 0)
            shown << entries.value(wanted.mid(at + 1).toInt());
        else if (mark == '#')
            shown << QString::number(entries.size());
        else if (mark == '?')
            shown << QString::number(child->property("enabled").toBool());
        else if (mark == '/')
            shown << entries.join('/');
        else if (mark == '*')
            shown << QString::number(child->property("checked").toBool());
        else
            shown << (combo ? combo->currentText() : list ? entries.join('/') : child->property("text").toString());
    }
    return shown.join('|');
}

QString Take(QWidget& w, const QString& steps) {
    QStringList seen{w.objectName() + ":" + w.windowTitle()};
    for (const QString& step : steps.split(';', Qt::SkipEmptyParts)) {
        const QString name = step.section('=', 0, 0), value = step.section('=', 1);
        QObject* child =
            name == "?" || name == "tip" || name == "close" ? nullptr : Child<QObject>(w, qPrintable(name));
        if (name == "?") {
            seen << Shown(w, value.split(','));
        } else if (name == "tip") {
            seen << QToolTip::text();
        } else if (name == "close") {
            w.close();
        } else if (auto* action = qobject_cast<QAction*>(child)) {
            action->trigger();
        } else if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            if (value == "\r") {
                QTest::keyClick(edit, Qt::Key_Return);
            } else if (value.contains('\n')) {
                edit->setText(value);
            } else {
                edit->clear();
                QTest::keyClicks(edit, value);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
            value.isEmpty() ? Q_EMIT combo->activated(combo->currentIndex()) : combo->setCurrentIndex(value.toInt());
        } else if (auto* tabs = qobject_cast<QTabWidget*>(child)) {
            tabs->setCurrentIndex(value.toInt());
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            button->isCheckable() ? button->setChecked(value == "1") : button->click();
        } else if (auto* list = qobject_cast<QListWidget*>(child)) {
            Q_EMIT list->itemDoubleClicked(list->item(value.toInt()));
        } else {
            QTest::mouseDClick(qobject_cast<QWidget*>(child), Qt::LeftButton);
        }
    }
    if (qobject_cast<QDialog*>(&w) && w.isVisible()) Child<QPushButton>(w, "cmdOK")->click();
    return seen.join('|');
}

QString ColumnsFit(QTableView* grid) {
    const QFontMetrics metrics(grid->font());
    int total = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        total += grid->columnWidth(c);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (metrics.horizontalAdvance(Text(grid, r, c)) > grid->columnWidth(c))
                return QString("%1 cut in row %2 column %3").arg(grid->objectName()).arg(r).arg(c);
    }
    return total == grid->viewport()->width() ? "fits" : QString("%1 of %2").arg(total).arg(grid->viewport()->width());
}

QTabWidget* Tabs(vxe::FDoc& doc, int tab) {
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    if (tab >= 0) tabs->setCurrentIndex(tab);
    return tabs;
}

QString EnabledEdits(vxe::FDoc& doc, int tab) {
    Tabs(doc, tab);
    QStringList names;
    for (QAction* action : doc.Menus()[1]->actions())
        if (!action->isSeparator() && action->isEnabled()) names << action->objectName().mid(4);
    return names.join(' ');
}

void Observed::Check() const {
    const QString seen = lines_.join('\n') + '\n';
    const QStringList expected =
        QString::fromStdString(vx::test::Golden("editor/" + name_ + ".txt", seen.toStdString())).split('\n');
    for (qsizetype i = 0; i < std::max(lines_.size() + 1, expected.size()); ++i)
        QVERIFY2(lines_.value(i) == expected.value(i),
                 qPrintable(QString("%1.txt line %2:\n  seen     %3\n  expected %4")
                                .arg(QString::fromStdString(name_))
                                .arg(i + 1)
                                .arg(lines_.value(i), expected.value(i))));
}

Editor::Editor(int sets, const vx::PresetTables& presets, bool editing) {
    options.PathNam = temp.Str();
    auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
    if (!catalogue) qFatal("the shipped template does not load");
    session = std::make_unique<vx::Session>(std::move(*catalogue), presets, options, ui);
    scheme = std::make_unique<vx::EditScheme>(*session);
    if (editing) shell.scheme = scheme.get();
    for (int i = 0; i < sets; ++i)
        if (session->OpenOrNewSet(true, "") != i + 1) qFatal("no new set %d", i + 1);
}

Editor::~Editor() { shell.edits.SetDocument(nullptr); }

vxe::FDoc& Editor::Open(int set, int mode, bool fill) {
    options.ModeId = mode;
    docs.push_back(std::make_unique<vxe::FDoc>(*session, shell, set));
    if (fill) docs.back()->Fill();
    return Activate(docs.size() - 1);
}

vxe::FDoc& Editor::Activate(std::size_t window) {
    shell.edits.SetDocument(docs.at(window).get());
    return *docs[window];
}

void Editor::Publish(const vx::SetChange& change) { session->Changes().Publish(change); }

std::string Editor::SaveAs(int set, const std::string& name) {
    const std::string directory = temp.Str() + "/" + name + ".SET";
    if (!session->SaveSet(set, directory + "/" + name, true)) qFatal("cannot save %s", name.c_str());
    return directory;
}

Installation::Installation() {
    fs::create_directories(program);
    for (const char* item : {"X50EMPTY.SET", "X50PRSTS.TXT", "X50TIPS.TXT", "manual"})
        fs::copy(fs::path(vx::test::ProgramDir()) / item, program / item, fs::copy_options::recursive);
}

QString Installation::CopySet(const fs::path& from, const std::string& name) const {
    const fs::path directory = root.Path() / "sets" / (name + ".SET");
    fs::create_directories(directory);
    for (const auto& file : fs::directory_iterator(from))
        fs::copy_file(file.path(), directory / (name + file.path().extension().string()));
    return QString::fromStdString(directory.string());
}

int Start(vxe::FMain& main, const QStringList& sets) {
    return vxe::RunStartup(main, vxe::ParseArguments(QStringList{"vxeditr", "--no-tips"} + sets, "/"));
}

ModalAnswerer::ModalAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Answer);
    timer_.start(10);
}

void ModalAnswerer::Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_) return;
    last_ = modal;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        dialogTitles.append(modal->windowTitle());
        onDialog ? onDialog(modal) : void(modal->close());
        return;
    }
    const auto question = static_cast<vx::QuestionId>(box->property("vxQuestion").toInt());
    QAbstractButton* button = box->defaultButton();
    boxes.push_back(
        {box->windowTitle(), box->text(), box->icon(), button ? box->standardButton(button) : QMessageBox::NoButton});
    const auto answer = answers_.find(question);
    if (answer != answers_.end()) button = box->button(answer->second);
    (button ? button : box->buttons().value(0))->click();
}

QStringList ModalAnswerer::Said() const {
    QStringList said;
    for (const Box& box : boxes) said << box.title + "|" + box.text;
    return said;
}

}  // namespace vxt
