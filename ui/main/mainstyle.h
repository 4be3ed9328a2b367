#pragma once

#include <QString>

// The dark style sheet of the main window, inherited by every dialog parented to it.
QString mainStyleSheet();

// The style sheet of the host configuration dialog and its entry form.
QString hostDialogStyleSheet();
