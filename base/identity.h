#pragma once

// Sets the application name, version and organisation.
void applyApplicationIdentity();
