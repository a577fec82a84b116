#pragma once
// Every modal box of the application goes through here: message boxes, the problem and
// About windows, and the file dialogs. Each is awaited: the box is shown modal, the
// coroutine that asked suspends until the user closes it, and the one event loop runs on
// meanwhile (no loop of the box's own). The application object owns the one instance;
// tests install a handler that answers instead of a user, so no test ever waits on a box.

#include "comm/Await.h"

#include <QRect>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

class Modal
{
public:
    // Where a box opens: centred on the window it belongs to, or beside it.
    enum class Place
    {
        CentredOnOwner,
        BesideOwner
    };

    struct Request
    {
        enum Kind
        {
            Message,
            Question, // Yes or No: the answer "Yes" says yes, anything else no
            Dialog,
            OpenFile,
            SaveFile
        };
        Kind kind = Message;
        QString caption; // window caption (message box caption, dialog title)
        QString text;    // message text
        bool exclamation = false;
        QString filter;            // file dialogs: "All Files (*.*);;Text Files (*.txt)"
        QString selectedFilter;    // file dialogs: the preselected entry
        QString proposedName;      // save dialogs: the file name offered ("" for none)
        QDialog* dialog = nullptr; // Dialog: the window that would be shown modal
        Place place = Place::CentredOnOwner;
        QWidget* parent = nullptr; // Message: the window the box belongs to
        QRect at;                  // Message: where the box opens, its frame
    };

    // Answers a request. For file dialogs the answer is the chosen path ("" = cancelled);
    // for the others it is ignored. A Dialog request is answered after the window has been
    // set up and shown; the handler may inspect it, and the window is hidden afterwards.
    using Handler = std::function<QString(const Request&)>;

    // Installs a handler (tests); an empty handler restores the real dialogs.
    void setHandler(Handler handler) { handler_ = std::move(handler); }
    bool hasHandler() const { return static_cast<bool>(handler_); }

    // A message box with an OK button and the caption "Corvane".
    Task<> messageBox(QWidget* parent, QString text, bool exclamation,
                      Place place = Place::CentredOnOwner);

    // A question box with Yes and No (No the default) and the caption "Corvane": true for
    // Yes.
    Task<bool> question(QWidget* parent, QString text);

    // Shows a window of ours modal, centred on its parent, and ends when it is closed.
    Task<> showDialog(QDialog* dialog);

    // File dialogs; "" when the user cancels. No overwrite question, no default suffix.
    Task<QString> openFileName(QWidget* parent, QString title, QString filter,
                               QString selectedFilter);
    Task<QString> saveFileName(QWidget* parent, QString title, QString filter,
                               QString selectedFilter, QString proposedName = {});

private:
    Task<QString> fileDialog(Request::Kind kind, QWidget* parent, QString title, QString filter,
                             QString selectedFilter, QString proposedName = {});

    Handler handler_;
};
