#pragma once

#include "db/message.h"

// Message boxes show what the engines reported (failures, refusals) inside the window's own
// texts: each box's texts go through Language::shown as it opens, so that they read in the
// window's language. Call once, at start.
void installStoredTextDisplay();
