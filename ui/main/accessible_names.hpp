#pragma once

class MorseForm;

// Gives every control of the main window the Italian name and description a
// screen reader speaks: captions alone leave the text boxes, the shift box
// and the frames nameless.
void nameControlsForAssistiveTechnology(MorseForm& window);
