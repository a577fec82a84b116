#pragma once
// The finder's status box as lines of text: what the port listing and the find tell
// (FinderSteps), and the finder's own lines, in the words the box shows. Lines go out as a
// signal; those told while nothing listens (before the finder window exists) wait in the
// backlog.

#include "comm/FinderSteps.h"

#include <QObject>
#include <QStringList>

class FinderStatus : public QObject, public FinderSteps
{
    Q_OBJECT
public:
    // One line for the box.
    void append(const QString& line);
    // Takes the lines that waited for a listener.
    QStringList takeBacklog();
    const QStringList& backlog() const { return backlog_; }

    // FinderSteps
    void listingStarted() override;
    void portPossible(int16_t port) override;
    void noPortAvailable() override;
    void portTrouble(const QString& why) override;
    void findStarted() override;
    void testingPort(int16_t port) override;
    void cannotOpen(int16_t port, const QString& reason) override;
    void unitFound(int16_t port, bool numbersDoubtful) override;
    void noUnitFound() override;
    void findFinished() override;

signals:
    void line(const QString& text);

private:
    QStringList backlog_;
};
