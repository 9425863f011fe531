#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vx {
class Session;
}

namespace vxe {

// The set dialogs: pick a NAME.SET directory to open, or the place and name to save a set to.
class FSetDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Open, Save };

    FSetDialog(vx::Session& session, Mode mode, QWidget* parent = nullptr);

    // The save dialog's caller proposes the name.
    void SetProposedName(const QString& name);
    // A set directory (open) or base path (save); empty when cancelled.
    const std::string& Result() const { return result_; }
    QString CurrentDirectory() const { return current_; }

    // The directory list moves to another directory, as a double click does.
    void ChangeDirectory(const QString& directory);

    void lstDir_DblClick(QListWidgetItem* item);
    void lstDrive_Change(int index);
    void txtSetName_Change();
    void cmdOK_Click();
    // Shows the directory of a typed path (a set's directory, a file in one, or any
    // directory); false, after saying why, when there is none.
    bool GoToTypedPath(const QString& typed);
    void cmdCancel_Click();

private:
    void FillDirectoryList();
    void lstDir_Change();
    // The directory shown, or its parent when it is itself a ".SET" directory; no trailing separator.
    QString CandidateParent() const;

    vx::Session& session_;
    Mode mode_;
    QString current_;
    std::string result_;

    QLineEdit* txtSetName_ = nullptr;
    QLabel* lblPath_ = nullptr;
    QListWidget* lstDir_ = nullptr;
    QComboBox* lstDrive_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

// True when a directory's name ends in ".SET", whatever its case.
bool IsSetDirectoryName(const QString& path);

std::string ChooseSetToOpen(vx::Session& session, QWidget* parent);
std::string ChooseSetDestination(vx::Session& session, const std::string& proposedName, QWidget* parent);

}  // namespace vxe
