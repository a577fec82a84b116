#include "app/frmFileInput.h"

#include "app/Placement.h"
#include "flows/EditorView.h"
#include "flows/FileCommands.h"
#include "flows/FlowHost.h"
#include "settingsfile/SettingsPreview.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {
const QString DetailsCaption = QStringLiteral("Details");
const QString NoDetailsCaption = QStringLiteral("No Details");

template <typename W> W* placed(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLineEdit* counterBox(QWidget* parent, const char* name, int x, int y)
{
    auto* box = placed(new QLineEdit(QStringLiteral("0"), parent), name, x, y, 33, 19);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    return box;
}
} // namespace

frmFileInput::frmFileInput(FlowHost& host, QWidget* owner) : QWidget(owner, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("frmFileInput"));
    setWindowTitle(QStringLiteral("Corvane 2.0 (beta 5) - File Input"));

    lblFile = placed(new QLabel(QStringLiteral("File:"), this), "lblFile", 8, 16, 25, 17);
    txtFileName = placed(new QLineEdit(QStringLiteral("Uninitialized"), this), "txtFileName", 32,
                         16, 513, 19);
    txtFileName->setReadOnly(true);
    txtLines = counterBox(this, "txtLines", 40, 48);
    lblLines = placed(new QLabel(QStringLiteral("Lines"), this), "lblLines", 80, 48, 41, 17);
    txtErrs = counterBox(this, "txtErrs", 40, 80);
    lblErrs = placed(new QLabel(QStringLiteral("Errors"), this), "lblErrs", 80, 80, 41, 17);
    cmdDetails = placed(new QPushButton(DetailsCaption, this), "cmdDetails", 128, 80, 81, 25);
    cmdAccept = placed(new QPushButton(QStringLiteral("OK"), this), "cmdAccept", 360, 80, 81, 25);
    cmdCancel =
        placed(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel", 456, 80, 81, 25);
    txtInput = placed(new QPlainTextEdit(this), "txtInput", 16, 120, 345, 313);
    txtInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    connect(cmdDetails, &QPushButton::clicked, this, [this] { cmdDetails_Click(); });
    connect(cmdAccept, &QPushButton::clicked, this, [this] { cmdAccept_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    scale_ = FontFit::fit(this);
    setWindowHeight(CompactHeight);
}

void frmFileInput::Form_Activate()
{
    setWindowHeight(CompactHeight);
    cmdDetails->setText(DetailsCaption);
    txtErrs->setText(QString::number(host_.filePreviewState().errorCount()));
}

void frmFileInput::cmdDetails_Click()
{
    // The caption names what the next click does.
    if (height() >= scale_.y(ExpandedThreshold)) {
        setWindowHeight(CompactHeight);
        cmdDetails->setText(DetailsCaption);
    } else {
        setWindowHeight(ExpandedHeight);
        cmdDetails->setText(NoDetailsCaption);
    }
}

void frmFileInput::cmdAccept_Click()
{
    // A transfer reads the editor's fields as it goes: the file waits until it is done.
    if (host_.editor().model().transferRunning())
        return;
    FileCommands::ApplyPreviewedFile(host_);
    hide();
}

void frmFileInput::cmdCancel_Click()
{
    hide();
}

void frmFileInput::startPreview(const QString& path)
{
    txtInput->clear();
    txtFileName->setText(path);
    if (!isVisible() && parentWidget())
        Placement::centreOn(*this, *parentWidget()->window());
    show();
    raise();
    activateWindow();
}

void frmFileInput::showErrorCount(int count)
{
    txtErrs->setText(QString::number(count));
}

void frmFileInput::showLineCount(int lineNo)
{
    txtLines->setText(QString::number(lineNo));
}

void frmFileInput::appendDetails(const QString& text)
{
    txtInput->moveCursor(QTextCursor::End);
    txtInput->insertPlainText(text);
}

void frmFileInput::setWindowHeight(int height)
{
    setFixedSize(scale_(QSize(InnerWidth, height)));
    // The details box lies below the compact height; hidden, it takes no focus there.
    txtInput->setVisible(height >= ExpandedThreshold);
}

bool frmFileInput::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void frmFileInput::closeEvent(QCloseEvent* event)
{
    // The close box acts as Cancel: the window is only ever hidden.
    event->ignore();
    cmdCancel_Click();
}
