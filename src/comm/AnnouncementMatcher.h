#pragma once
// Recognises the text a synchronizer sends on its own after RESET: "ATS0=1" LF CR.
//
// Bytes arrive in batches of any size; the position reached survives from one batch to
// the next. A byte that breaks the sequence is not looked at again as a possible start:
// after "A" "A" the matcher waits for a new "A".

#include <QByteArray>
#include <cstdint>

class AnnouncementMatcher
{
public:
    static constexpr char Announcement[] = {'A', 'T', 'S', '0', '=', '1', '\n', '\r'};
    static constexpr int Length = int(sizeof(Announcement));

    // One byte; true when it completes the announcement (the matcher then starts over).
    bool feed(uint8_t byte);
    // Bytes in order until one completes the announcement; the bytes after it are not
    // looked at. True when the announcement completed.
    bool feed(const QByteArray& bytes);

    // 1 to 8: the position of the byte expected next.
    int state() const { return matched_ + 1; }

private:
    int matched_ = 0;
};
