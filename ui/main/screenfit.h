#pragma once

// Keeps every window of the program on the screen it opens on: no window opens larger than the
// screen's free area (less room for its frame), or smaller than its layout needs. Installed
// once on the application.
void installScreenFit();
