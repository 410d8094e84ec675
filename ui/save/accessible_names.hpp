#pragma once

class SalvaForm;

// Gives the save dialog's lists and name box the Italian names a screen
// reader speaks.
void nameControlsForAssistiveTechnology(SalvaForm& dialog);
