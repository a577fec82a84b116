#pragma once
// The editor window against a simulated unit on COM5, as the transfer tests have it.

#include "support/WindowStory.h"

namespace TransferTest {
using Rig = WindowStory;
} // namespace TransferTest
