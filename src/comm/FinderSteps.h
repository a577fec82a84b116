#pragma once
// What the port listing and the find tell as they go, as events. The finder's status box
// (and corvane-cli's find) turns them into its lines; the command layer writes no text
// for a window. Each step does nothing unless a listener overrides it, so a FinderSteps of
// its own stands for nobody watching.

#include <QString>
#include <cstdint>

class FinderSteps
{
public:
    virtual ~FinderSteps() = default;

    // The listing of COM1 to COM16.
    virtual void listingStarted() {}
    virtual void portPossible(int16_t /*port*/) {}
    // No port could be opened: told after the listing.
    virtual void noPortAvailable() {}
    // Why a present device could not be used, one for each, after the verdict.
    virtual void portTrouble(const QString& /*why*/) {}

    // A find, from its start to its end.
    virtual void findStarted() {}
    virtual void testingPort(int16_t /*port*/) {}
    virtual void cannotOpen(int16_t /*port*/, const QString& /*reason*/) {}
    virtual void unitFound(int16_t /*port*/, bool /*numbersDoubtful*/) {}
    virtual void noUnitFound() {}
    virtual void findFinished() {}
};
