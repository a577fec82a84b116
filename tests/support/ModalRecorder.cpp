#include "ModalRecorder.h"

void ModalRecorder::attach(Modal& modal)
{
    detach();
    modal_ = &modal;
    modal.setHandler([this](const Modal::Request& r) {
        requests.push_back(r);
        if (r.kind == Modal::Request::Dialog && onDialog)
            onDialog(r);
        if (r.kind == Modal::Request::OpenFile || r.kind == Modal::Request::SaveFile)
            return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
        if (r.kind == Modal::Request::Question)
            return questionAnswers.isEmpty() ? QString() : questionAnswers.takeFirst();
        return QString();
    });
}

void ModalRecorder::detach()
{
    if (modal_)
        modal_->setHandler({});
    modal_ = nullptr;
}

QStringList ModalRecorder::messages() const
{
    QStringList out;
    for (const auto& r : requests)
        if (r.kind == Modal::Request::Message)
            out << r.text;
    return out;
}

QStringList ModalRecorder::questions() const
{
    QStringList out;
    for (const auto& r : requests)
        if (r.kind == Modal::Request::Question)
            out << r.text;
    return out;
}
