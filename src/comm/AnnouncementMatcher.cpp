#include "comm/AnnouncementMatcher.h"

bool AnnouncementMatcher::feed(uint8_t byte)
{
    if (byte != static_cast<uint8_t>(Announcement[matched_])) {
        matched_ = 0;
        return false;
    }
    if (++matched_ < Length)
        return false;
    matched_ = 0;
    return true;
}

bool AnnouncementMatcher::feed(const QByteArray& bytes)
{
    for (const char b : bytes)
        if (feed(static_cast<uint8_t>(b)))
            return true;
    return false;
}
