#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

// Answers the modal dialogs of a test as they appear. Message boxes are recorded and answered
// with the next scripted button (their default when none is left); any other dialog goes to the
// handler, which must close it.
class ModalAnswerer : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    std::vector<Box> boxes;
    std::vector<QMessageBox::StandardButton> answers;
    std::function<void(QWidget*)> onDialog;
    QStringList dialogTitles;

    ModalAnswerer() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start();
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last_) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            last_ = modal;
            QAbstractButton* defaultButton = box->defaultButton();
            boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             defaultButton ? box->standardButton(defaultButton) : QMessageBox::NoButton});
            QAbstractButton* button = defaultButton;
            if (!answers.empty()) {
                button = box->button(answers.front());
                answers.erase(answers.begin());
            }
            if (!button) button = box->buttons().value(0);
            button->click();
            return;
        }
        last_ = modal;
        dialogTitles.append(modal->windowTitle());
        if (onDialog) onDialog(modal);
    }

    QTimer timer_;
    QPointer<QWidget> last_;
};
