#include "app/AccessibleNames.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace {

// "StartMinutes" -> "Start Minutes"
QString words(QString camel)
{
    return camel.replace(QRegularExpression(QStringLiteral("(?<=[a-z])(?=[A-Z])")),
                         QStringLiteral(" "));
}

QString nameFor(QWidget& w)
{
    const QString n = w.objectName();
    static const QRegularExpression numberBox(
        QStringLiteral("^txt((?:Start|End)?(?:Model|Channel|Title|Chapter|Minutes|Seconds))$"));
    static const QRegularExpression spinner(QStringLiteral("^scr(\\w+)$"));
    static const QRegularExpression option(QStringLiteral("^opt(Start|End)\\w+$"));
    static const QRegularExpression initString(QStringLiteral("^txtInitStr([1-4])$"));
    QRegularExpressionMatch m;
    if ((m = numberBox.match(n)).hasMatch())
        return words(m.captured(1)) + QStringLiteral(" value");
    if ((m = spinner.match(n)).hasMatch())
        return words(m.captured(1));
    if ((m = option.match(n)).hasMatch())
        if (auto* b = qobject_cast<QAbstractButton*>(&w))
            return QStringLiteral("%1 mode: %2").arg(m.captured(1), b->text().remove('&'));
    if ((m = initString.match(n)).hasMatch())
        return QStringLiteral("Init String ") + m.captured(1);
    static const QHash<QString, QString> fixed{
        {QStringLiteral("txtStartFrame"), QStringLiteral("Start Frame")},
        {QStringLiteral("txtEndFrame"), QStringLiteral("End Frame")},
        {QStringLiteral("txtComment"), QStringLiteral("Comment")},
        {QStringLiteral("cmbBaud"), QStringLiteral("Baud")},
        {QStringLiteral("cmbPort"), QStringLiteral("Port")},
        {QStringLiteral("txtFindStatus"), QStringLiteral("Finder status")},
        {QStringLiteral("txtProblem"), QStringLiteral("Problem")},
        {QStringLiteral("txtWire"), QStringLiteral("Wire log")},
        {QStringLiteral("txtFileName"), QStringLiteral("File")},
        {QStringLiteral("txtLines"), QStringLiteral("Lines")},
        {QStringLiteral("txtErrs"), QStringLiteral("Errors")},
        {QStringLiteral("txtInput"), QStringLiteral("File contents")},
        {QStringLiteral("txtMsg"), QStringLiteral("Debug messages")},
        {QStringLiteral("tblCells"), QStringLiteral("Cells")},
        {QStringLiteral("cmbSimFault"), QStringLiteral("Faulty replies")},
        {QStringLiteral("lblUnit"), QStringLiteral("Port and unit")}};
    return fixed.value(n);
}

} // namespace

void AccessibleNames::nameControls(QWidget& window)
{
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->accessibleName().isEmpty())
            if (const QString name = nameFor(*w); !name.isEmpty())
                w->setAccessibleName(name);
    // The caption "lblX" labels the box "txtX" (or the list "cmbX") beside it, so a screen
    // reader can go from either to the other. None of these captions has a shortcut key.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString n = label->objectName();
        if (label->buddy() || !n.startsWith(QLatin1String("lbl")))
            continue;
        for (const QString& prefix : {QStringLiteral("txt"), QStringLiteral("cmb")})
            if (auto* control = window.findChild<QWidget*>(prefix + n.mid(3))) {
                label->setBuddy(control);
                break;
            }
    }
}

QString AccessibleNames::flowingText(const QString& text)
{
    QStringList paragraphs{QString()};
    for (const QString& line : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
        const QString words = line.trimmed();
        if (words.isEmpty()) {
            if (!paragraphs.last().isEmpty())
                paragraphs << QString();
            continue;
        }
        QString& current = paragraphs.last();
        current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + words;
    }
    if (paragraphs.last().isEmpty())
        paragraphs.removeLast();
    return paragraphs.join(QLatin1Char('\n'));
}
