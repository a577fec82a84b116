#pragma once
// Answers every modal box of an application instead of a user, and remembers what
// was asked. File dialogs take their answers from a queue ("" = cancel).

#include "app/Modal.h"

#include <QStringList>
#include <functional>
#include <vector>

class ModalRecorder
{
public:
    ModalRecorder() = default;
    ~ModalRecorder() { detach(); }
    ModalRecorder(const ModalRecorder&) = delete;
    ModalRecorder& operator=(const ModalRecorder&) = delete;

    // Answers the boxes of `modal` from now on.
    void attach(Modal& modal);
    void detach();

    std::vector<Modal::Request> requests;
    QStringList fileAnswers;
    // The answers to questions, in order ("Yes", "No"); none left answers No.
    QStringList questionAnswers;
    // Runs for Dialog requests while the window is shown (before it is hidden again).
    std::function<void(const Modal::Request&)> onDialog;

    QStringList messages() const; // texts of the message boxes, in order
    QStringList questions() const; // texts of the questions, in order
    void clear() { requests.clear(); }

private:
    Modal* modal_ = nullptr;
};
