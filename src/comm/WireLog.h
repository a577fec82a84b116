#pragma once
// The wire log: every frame sent and received on the serial line and every event around
// it (port opened, closed, lost; waits that timed out; retries; failure texts; which
// command held the line and how it ended), with a monotonic time stamp. Always on, kept
// in a ring of the newest entries; each entry also goes to the logging category
// "corvane.wire" at debug level:
//
//   QT_LOGGING_RULES="corvane.wire.debug=true" corvane

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

Q_DECLARE_LOGGING_CATEGORY(lcWire)

struct WireLogEntry
{
    enum Kind
    {
        Sent,     // a frame to the unit
        Received, // bytes from the unit
        Event,    // the port, waits, retries, failures
        Command,  // a command began or ended
        Finding   // what a command found: a difference, a mark
    };
    double ms = 0; // since the log was created
    Kind kind = Event;
    QString text;
};

class WireLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultCapacity = 20000;
    explicit WireLog(int capacity = DefaultCapacity);

    void add(WireLogEntry::Kind kind, const QString& text);
    void sent(const QByteArray& frame) { add(WireLogEntry::Sent, describeSent(frame)); }
    void received(const QByteArray& bytes) { add(WireLogEntry::Received, describeReceived(bytes)); }
    void event(const QString& text) { add(WireLogEntry::Event, text); }
    void command(const QString& text) { add(WireLogEntry::Command, text); }
    void finding(const QString& text) { add(WireLogEntry::Finding, text); }

    // Oldest first; at most the capacity, the oldest entries dropped first.
    QVector<WireLogEntry> entries() const;
    int size() const { return count_; }
    int capacity() const { return static_cast<int>(ring_.size()); }
    // The clock time when the log was created: an entry's time is its milliseconds after it.
    QDateTime startedAt() const { return startedAt_; }
    // Entries added since the log was created, dropped ones included.
    qint64 totalAdded() const { return total_; }
    void clear();

    // "    12.345  > R 3F" : time, direction or kind, text.
    static QString format(const WireLogEntry& e);
    // Every entry formatted, one a line, oldest first.
    QStringList lines() const;
    // The entries added from number `sequence` on (0 is the first entry ever added; see
    // totalAdded), formatted; those already dropped from the ring are left out.
    QStringList linesSince(qint64 sequence) const;

    // `ATTN`, `R 3F`, `W 3C "50"`, or hex for anything else.
    static QString describeSent(const QByteArray& frame);
    // `REPLY "22" LF CR`, `RESET announcement`, or "unrecognised bytes" with hex.
    static QString describeReceived(const QByteArray& bytes);
    // "4F 4B 0A 0D"
    static QString hex(const QByteArray& bytes);

signals:
    // Batched by listeners that show the log; never blocks the caller.
    void added();
    void cleared();

private:
    QVector<WireLogEntry> ring_;
    int first_ = 0;
    int count_ = 0;
    qint64 total_ = 0;
    QElapsedTimer clock_;
    QDateTime startedAt_;
};
