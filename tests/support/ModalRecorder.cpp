#include "ModalRecorder.h"

ModalRecorder::ModalRecorder()
{
    Modal::setHandler([this](const Modal::Request& r) {
        requests.push_back(r);
        if (r.kind == Modal::Request::Dialog && onDialog)
            onDialog(r);
        if (r.kind == Modal::Request::OpenFile || r.kind == Modal::Request::SaveFile)
            return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
        return QString();
    });
}

ModalRecorder::~ModalRecorder()
{
    Modal::setHandler({});
}

QStringList ModalRecorder::messages() const
{
    QStringList out;
    for (const auto& r : requests)
        if (r.kind == Modal::Request::Message)
            out << r.text;
    return out;
}
