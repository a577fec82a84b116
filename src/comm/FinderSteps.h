#pragma once
// What the port listing and the find tell as they go, as events. The finder's status box
// (and corvane-cli's find) turns them into its lines; the command layer writes no text
// for a window.

#include <QString>
#include <cstdint>

class FinderSteps
{
public:
    virtual ~FinderSteps() = default;

    // The listing of COM1 to COM16.
    virtual void listingStarted() = 0;
    virtual void portPossible(int16_t port) = 0;
    // No port could be opened: told after the listing.
    virtual void noPortAvailable() = 0;
    // Why a present device could not be used, one for each, after the verdict.
    virtual void portTrouble(const QString& why) = 0;

    // A find, from its start to its end.
    virtual void findStarted() = 0;
    virtual void testingPort(int16_t port) = 0;
    virtual void cannotOpen(int16_t port, const QString& reason) = 0;
    virtual void unitFound(int16_t port, bool numbersDoubtful) = 0;
    virtual void noUnitFound() = 0;
    virtual void findFinished() = 0;
};
