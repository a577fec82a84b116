#include "transfer/flows/TransferCommands.h"

// The transfers arrive with the whole-device load, save and compare.
namespace TransferCommands {
void LoadFromSynchronizer(frmMain&) {}
void SaveToSynchronizer(frmMain&) {}
} // namespace TransferCommands
