#pragma once

class CodMorseForm;
class InforForm;

// Gives the controls that show no caption of their own the Italian names a
// screen reader speaks.
void nameControlsForAssistiveTechnology(CodMorseForm& window);
void nameControlsForAssistiveTechnology(InforForm& window);
