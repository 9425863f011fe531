#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>

#include <array>
#include <string>
#include <string_view>
#include <vector>

class QBoxLayout;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vx {
class Session;
}

namespace vxe {

// A label that reports double clicks: the called style or arrangement is changed from it.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The frame every parameter dialog shares: a change marker that each change handler sets,
// OK that only closes, Cancel and the close box that clear the marker. The caller writes the
// dialog's fields back only when Changed() is true after the dialog.
class ParamDialog : public QDialog {
    Q_OBJECT

public:
    ParamDialog(vx::Session& session, int set, const char* name, QWidget* parent);

    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }
    void reject() override;

protected:
    vx::Session& session_;
    const int set_;

    // The caption's tail: " in " and the set's name, as its document window shows it.
    QString InSet() const;
    // txtNam: leading blanks dropped and cut to 16 characters while typing.
    QLineEdit* NewNameBox(const std::string& stored);
    // A combo filled with the texts, the stored value selected (the first entry when the value
    // is beyond the list); changing it marks the dialog.
    QComboBox* NewCombo(const char* name, const std::vector<std::string>& texts, int stored);
    template <std::size_t N>
    QComboBox* NewCombo(const char* name, const std::array<std::string_view, N>& texts, int stored) {
        return NewCombo(name, std::vector<std::string>(texts.begin(), texts.end()), stored);
    }
    QListWidget* NewList(const char* name, const std::vector<std::string>& lines);
    // Fills a list again, keeping the current row.
    static void Refill(QListWidget& list, const std::vector<std::string>& lines);
    // OK and Cancel at the end of the layout; OK closes without touching the marker.
    QPushButton* AddButtons(QBoxLayout& layout);
    // Asks for a program for a track through the selection dialog; -1 when none was chosen.
    int PickTrackProgram(std::string_view trackName, int current);

private:
    bool changed_ = false;
};

// Text of the core's single-byte strings.
QString Latin1Text(const std::string& text);
// Trims the trailing blanks of a fixed-width name.
QString Trimmed(const std::string& text);

}  // namespace vxe
