#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace vx {
class Session;
}

namespace vxe {

// The report window: the set report in a fixed-pitch text box, with Print, Printer Setup,
// Save and Close. It keeps a fixed width; the text box takes the height.
class FReport : public QWidget {
    Q_OBJECT

public:
    FReport(vx::Session& session, int set, std::string report, QWidget* parent = nullptr);
    ~FReport() override;

    int SetNumber() const { return set_; }
    const std::string& Report() const { return report_; }
    // The printer Print uses; Printer Setup changes it.
    QPrinter& Printer() { return *printer_; }

    // Four empty lines, then the report, in the text box's font (made smaller when a line of
    // the report would not fit the page's width). False when the printer could not be started.
    bool cmdPrint_Click();
    void cmdSetPrnt_Click();
    bool cmdSave_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    vx::Session& session_;
    const int set_;
    const std::string report_;  // as saved: CR LF line ends
    // Where Save proposes to write, kept for as long as the window lives.
    const std::string setDirectory_;
    const std::string setName_;
    std::unique_ptr<QPrinter> printer_;
    QPlainTextEdit* txtRep_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdSetPrnt_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

// A report line as printed: a line wider than width characters (the program call lines) goes
// on several, broken after a caller's comma, each further line indented as the report indents
// its own continuation lines, so that no caller is lost at the page's edge.
QStringList PrintedLines(const QString& line, int width);
// Paints the report text on the printer; false when printing could not start.
bool PrintReportText(const QString& text, const QFont& font, QPrinter& printer);

}  // namespace vxe
