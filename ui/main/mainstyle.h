#pragma once

#include <QString>

class QLineEdit;

// The dark style sheet of the main window, inherited by every dialog parented to it.
QString mainStyleSheet();

// The dark sheet shared by the management dialogs (zone wipe, accounts, ...): background,
// labels, group boxes, inputs, lists, tables, check indicators, buttons and progress bars.
QString darkDialogStyleSheet();

// The character editor's tabs, tables and buttons (its save button green).
QString characterEditStyleSheet();

// The style sheet of the host configuration dialog and its entry form.
QString hostDialogStyleSheet();

// Widens an input to show its whole placeholder inside the style sheet's padding, and to at
// least `minimum` pixels: placeholders are longer in some languages.
void fitPlaceholder(QLineEdit *edit, int minimum = 0);
