#pragma once
// The synchronizer's one parameter set: fields, ranges and defaults.

#include <QString>
#include <array>
#include <cstdint>

enum class PointMode : int16_t
{
    Title = 0,
    Chapter = 1,
    Timecode = 2,
    Frame = 3
};

struct SyncParameters
{
    int16_t Model = 22;
    int16_t Channel = 1;
    PointMode StartMode = PointMode::Chapter;
    PointMode EndMode = PointMode::Chapter;
    int16_t StartTitle = 1;
    int16_t EndTitle = 2;
    int16_t StartChapter = 1;
    int16_t EndChapter = 2;
    int16_t StartMinutes = 0;
    int16_t EndMinutes = 1;
    int16_t StartSeconds = 0;
    int16_t EndSeconds = 0;
    int32_t StartFrame = 1;
    int32_t EndFrame = 1000;
    uint16_t OptionBits = 12;
    int16_t BaudCode = 7;
    bool Synchronize = true;
    bool Squelch = true;
    std::array<QString, 4> InitStr{QStringLiteral("0KL0DS"), QString(), QString(), QString()};
    QString Comment;
};

namespace Limits {
constexpr int ModelMin = 1, ModelMax = 99;
constexpr int ChannelMin = 1, ChannelMax = 99;
constexpr int StartTitleMin = 1, TitleMax = 99;
constexpr int EndTitleMin = 2;
constexpr int StartChapterMin = 1, ChapterMax = 99;
constexpr int EndChapterMin = 2;
constexpr int MinutesMax = 599, SecondsMax = 59;
constexpr int StartTimeMax = 35998; // 599:58
constexpr int EndTimeMin = 1, EndTimeMax = 35999;
constexpr int32_t StartFrameMin = 1, EndFrameMin = 2, FrameMax = 1079999;
constexpr int InitStrMax = 23;      // one init string
constexpr int InitStrTotalMax = 58; // the four together
constexpr int CommentMax = 15;

constexpr uint16_t SynchronizeBit = 8;
constexpr uint16_t SquelchBit = 4;
constexpr int16_t Baud9600Code = 7;
} // namespace Limits

// The serial speed list "1200", "2400", "4800", "9600" and the unit's codes for it.
constexpr std::array<int16_t, 4> BaudCodes{0, 4, 6, 7};
