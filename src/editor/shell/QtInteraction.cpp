#include "editor/shell/QtInteraction.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/presets/FInPrset.h"
#include "editor/selection/SelectionDialogs.h"
#include "editor/shell/SetDialogs.h"

namespace vxe {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
// Messages and captions quote the set's names: single bytes, read as Latin-1 like every view.
QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList QList(const std::vector<std::string>& entries) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(entries.size()));
    for (const auto& entry : entries) list.append(Q(entry));
    return list;
}

QMessageBox::StandardButton ToQt(vx::Answer answer) {
    switch (answer) {
        case vx::Answer::OK:
            return QMessageBox::Ok;
        case vx::Answer::Cancel:
            return QMessageBox::Cancel;
        case vx::Answer::Yes:
            return QMessageBox::Yes;
        case vx::Answer::No:
            return QMessageBox::No;
        case vx::Answer::Reload:
        case vx::Answer::Overwrite:
            break;  // buttons of their own, made in ShowMessage
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon ToQt(vx::MessageIcon icon) {
    switch (icon) {
        case vx::MessageIcon::None:
            return QMessageBox::NoIcon;
        case vx::MessageIcon::Critical:
            return QMessageBox::Critical;
        case vx::MessageIcon::Question:
            return QMessageBox::Question;
        case vx::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case vx::MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(vx::MessageButtons buttons) {
    switch (buttons) {
        case vx::MessageButtons::OK:
            return QMessageBox::Ok;
        case vx::MessageButtons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case vx::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case vx::MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case vx::MessageButtons::ReloadOverwriteCancel:
            return QMessageBox::Cancel;  // Reload and Overwrite are added by name
    }
    return QMessageBox::Ok;
}

bool Offers(vx::MessageButtons buttons, vx::Answer answer) { return (ToQt(buttons) & ToQt(answer)) != 0; }

// The answer when the box is closed without a button: Cancel, else No, else the only button.
vx::Answer EscapeAnswer(vx::MessageButtons buttons) {
    if (Offers(buttons, vx::Answer::Cancel)) return vx::Answer::Cancel;
    if (Offers(buttons, vx::Answer::No)) return vx::Answer::No;
    return vx::Answer::OK;
}

class QtProgress : public vx::ProgressWindow {
public:
    QtProgress(QWidget* parent, const QString& title, const QString& text, double minimum, double maximum,
               bool cancellable = false)
        : dialog_(text, QString(), 0, kSteps, parent), minimum_(minimum), maximum_(maximum) {
        dialog_.setWindowTitle(title);
        if (cancellable)
            dialog_.setCancelButtonText("Cancel");
        else
            dialog_.setCancelButton(nullptr);
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        // Shown only when the work lasts long enough to notice.
        dialog_.setMinimumDuration(400);
        dialog_.setValue(0);
    }
    ~QtProgress() override { dialog_.close(); }

    void SetValue(double value) override {
        const double span = maximum_ - minimum_;
        double fraction = span > 0 ? (value - minimum_) / span : 0.0;
        if (!std::isfinite(fraction)) fraction = 0.0;
        fraction = std::clamp(fraction, 0.0, 1.0);
        dialog_.setValue(static_cast<int>(std::lround(fraction * kSteps)));
    }
    bool CancelRequested() override { return dialog_.wasCanceled(); }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
    double minimum_;
    double maximum_;
};

class NoProgress : public vx::ProgressWindow {
public:
    void SetValue(double) override {}
};

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList entries;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // "Report (*.TXT)" already names its patterns; they are written again below.
        description.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& raw : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = raw.trimmed();
            if (pattern.isEmpty()) continue;
            for (const QString& form : {pattern, pattern.toUpper(), pattern.toLower()})
                if (!patterns.contains(form)) patterns.append(form);
        }
        if (patterns.isEmpty()) continue;
        entries.append(description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

QtInteraction::QtInteraction(QWidget* mainWindow) : mainWindow_(mainWindow) {}

void QtInteraction::Notice(const std::string& text) {
    constexpr int kNoticeMilliseconds = 10000;
    auto* window = qobject_cast<QMainWindow*>(mainWindow_);
    if (unattended_ || window == nullptr) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    window->statusBar()->showMessage(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                                     kNoticeMilliseconds);
}

QWidget* QtInteraction::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return mainWindow_;
}

vx::Answer QtInteraction::ShowMessage(const vx::Message& message) {
    if (unattended_) {
        std::fprintf(stderr, "%s: %s\n", message.title.c_str(), message.text.c_str());
        return message.buttons == vx::MessageButtons::OK ? vx::Answer::OK : message.defaultButton;
    }
    QMessageBox box(ToQt(message.icon), Latin1(message.title), Latin1(message.text), ToQt(message.buttons),
                    DialogParent());
    // Names and paths may hold "<"; they are never markup.
    box.setTextFormat(Qt::PlainText);
    // What the box asks, for those who answer it by that rather than by its words.
    box.setProperty("vxQuestion", static_cast<int>(message.question));
    QPushButton* reload = nullptr;
    QPushButton* overwrite = nullptr;
    if (message.buttons == vx::MessageButtons::ReloadOverwriteCancel) {
        reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::AcceptRole);
        reload->setObjectName(QStringLiteral("cmdReload"));
        overwrite = box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
        overwrite->setObjectName(QStringLiteral("cmdOverwrite"));
        if (message.defaultButton == vx::Answer::Reload) box.setDefaultButton(reload);
        if (message.defaultButton == vx::Answer::Overwrite) box.setDefaultButton(overwrite);
    }
    if (Offers(message.buttons, message.defaultButton)) box.setDefaultButton(ToQt(message.defaultButton));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return EscapeAnswer(message.buttons);
    if (clicked == reload) return vx::Answer::Reload;
    if (clicked == overwrite) return vx::Answer::Overwrite;
    switch (box.standardButton(clicked)) {
        case QMessageBox::Ok:
            return vx::Answer::OK;
        case QMessageBox::Cancel:
            return vx::Answer::Cancel;
        case QMessageBox::Yes:
            return vx::Answer::Yes;
        case QMessageBox::No:
            return vx::Answer::No;
        default:
            return EscapeAnswer(message.buttons);
    }
}

vx::LinkWrite QtInteraction::AskAboutLink(const vx::Message& question) {
    if (unattended_) {
        std::fprintf(stderr, "%s: %s\n", question.title.c_str(), question.text.c_str());
        return vx::LinkWrite::Cancel;
    }
    QMessageBox box(ToQt(question.icon), Q(question.title), Q(question.text), QMessageBox::Cancel, DialogParent());
    box.setTextFormat(Qt::PlainText);
    QPushButton* replace = box.addButton(QStringLiteral("Replace the Link"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setProperty("vxQuestion", static_cast<int>(question.question));
    box.exec();
    return box.clickedButton() == replace ? vx::LinkWrite::ReplaceLink : vx::LinkWrite::Cancel;
}

void QtInteraction::Beep() {
    if (!unattended_) QApplication::beep();
}

int QtInteraction::PickArrangement(int set, int startNumber, const std::string& captionAddition) {
    if (unattended_ || !session_) return -1;
    return FInArrPick(*session_, set, startNumber, Latin1(captionAddition), DialogParent());
}

int QtInteraction::PickStyle(int set, int startNumber, const std::string& captionAddition) {
    if (unattended_ || !session_) return -1;
    return FInStyPick(*session_, set, startNumber, Latin1(captionAddition), DialogParent());
}

int QtInteraction::PickProgram(int set, int startNumber, const std::string& captionAddition) {
    if (unattended_ || !session_) return -1;
    return FInPrgPick(*session_, set, startNumber, Latin1(captionAddition), DialogParent());
}

int QtInteraction::PickNote(const std::string& caption, const std::string& label,
                            const std::vector<std::string>& entries, int preselected) {
    if (unattended_) return -1;
    return FInNotePick(Q(caption), Q(label), QList(entries), preselected, DialogParent());
}

int QtInteraction::PickMidiChannel(const std::string& caption, const std::vector<std::string>& entries,
                                   int preselected) {
    if (unattended_) return -1;
    return FInMidChPick(Q(caption), QList(entries), preselected, DialogParent());
}

int QtInteraction::PickPresetBank(const std::string& caption, const std::vector<std::string>& entries,
                                  int preselected) {
    if (unattended_) return -1;
    return FInPrsetPick(Q(caption), QList(entries), preselected, DialogParent());
}

std::optional<std::string> QtInteraction::ChooseFile(const vx::FileRequest& request, bool save) {
    if (unattended_) return std::nullopt;
    QFileDialog dialog(DialogParent(), Q(request.title), Q(request.initialDirectory));
    dialog.setNameFilter(QtFileFilter(request.filter));
    // The callers ask their own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    QString suffix = Q(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    // A wildcard such as "*.ARR" is already the filter; only real names are proposed.
    const QString name = Q(request.initialName);
    if (!name.isEmpty() && !name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')))
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first().toStdString();
}

std::optional<std::string> QtInteraction::ChooseOpenFile(const vx::FileRequest& request) {
    return ChooseFile(request, false);
}

std::optional<std::string> QtInteraction::ChooseSaveFile(const vx::FileRequest& request) {
    return ChooseFile(request, true);
}

std::string QtInteraction::ChooseSetToOpen() {
    if (unattended_ || !session_) return {};
    return vxe::ChooseSetToOpen(*session_, DialogParent());
}

std::string QtInteraction::ChooseSetDestination(const std::string& proposedName) {
    if (unattended_ || !session_) return {};
    return vxe::ChooseSetDestination(*session_, proposedName, DialogParent());
}

std::unique_ptr<vx::ProgressWindow> QtInteraction::BeginProgress(const std::string& title, const std::string& text,
                                                                 double minimum, double maximum) {
    if (unattended_) return std::make_unique<NoProgress>();
    return std::make_unique<QtProgress>(DialogParent(), Q(title), Q(text), minimum, maximum);
}

std::unique_ptr<vx::ProgressWindow> QtInteraction::BeginCancellableProgress(const std::string& title,
                                                                            const std::string& text, double minimum,
                                                                            double maximum) {
    if (unattended_) return std::make_unique<NoProgress>();
    return std::make_unique<QtProgress>(DialogParent(), Q(title), Q(text), minimum, maximum, true);
}

void QtInteraction::SetBusy(bool busy) {
    // Qt keeps the override cursors on a stack, so nested busy periods restore correctly.
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void QtInteraction::Pause(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return;
    // Never longer than a minute, whatever a caller computed.
    const int ms = static_cast<int>(std::lround(std::min(seconds, 60.0) * 1000.0));
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace vxe
