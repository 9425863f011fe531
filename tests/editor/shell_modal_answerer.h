#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

// Answers a test's modal dialogs as they appear: message boxes are recorded and get the next scripted
// button (else their default); any other dialog goes to onDialog, which must close it.
class ModalAnswerer : public QObject {
public:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    std::vector<Box> boxes;
    std::vector<QMessageBox::StandardButton> answers;
    std::function<void(QWidget*)> onDialog;
    QStringList dialogTitles;

    ModalAnswerer() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == last_) return;
            last_ = modal;
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                dialogTitles.append(modal->windowTitle());
                if (onDialog) onDialog(modal);
                return;
            }
            QAbstractButton* button = box->defaultButton();
            boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             button ? box->standardButton(button) : QMessageBox::NoButton});
            if (!answers.empty()) button = box->button(answers.front());
            if (!answers.empty()) answers.erase(answers.begin());
            (button ? button : box->buttons().value(0))->click();
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
    QPointer<QWidget> last_;
};
