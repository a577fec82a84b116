#include "settingsfile/SettingsPreview.h"

void SettingsPreview::startPreview()
{
    *this = SettingsPreview();
    pass_ = 1;
    lineNo_ = 1;
}

void SettingsPreview::startApply()
{
    pass_ = 2;
    lineNo_ = 1;
}

void SettingsPreview::readLine(int lineNo, const QString& line, const QString& entry)
{
    lineNo_ = lineNo;
    currentLine_ = line;
    entry_ = entry;
}

void SettingsPreview::accept(const QString& text)
{
    accepted_.append(text);
    details_.append(QStringLiteral("LoadFile: ") + text);
}

void SettingsPreview::reportError(const QString& text)
{
    errorLines_.append(text);
    details_.append(QStringLiteral("LoadFile: ") + text);
}

void SettingsPreview::beginDispatch()
{
    acceptedBefore_ = acceptedCount();
    passedOver_ = false;
}

void SettingsPreview::endDispatch(const QString& text)
{
    if (pass_ == 1 && !passedOver_ && acceptedCount() == acceptedBefore_)
        misread_.append(text);
}

void SettingsPreview::noteMisread(const QString& text)
{
    if (pass_ == 1)
        misread_.append(text);
}
