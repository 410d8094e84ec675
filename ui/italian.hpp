#pragma once

// The program speaks Italian whatever the system's language: Qt's own words
// (the buttons of a message box, a text box's context menu, the file
// chooser) come from Qt's Italian translation, and numbers and dates follow
// Italian conventions. Call once after the application object exists.
void speakItalian();
