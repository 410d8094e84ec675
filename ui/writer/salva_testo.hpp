#pragma once

#include <QString>

namespace Modulo1 {

// Writes the text of the main window's `txt_cifrato` and a line end to the
// file `percorso` (a bare name lies in the current folder), in Windows-1252.
// A line break typed or pasted into the box is written as CR LF, every other
// character as its byte. Characters that Windows-1252 lacks are written as "?"
// only if the user agrees. Returns false, with the user told why, when nothing
// was written.
bool salva_testo(const QString& percorso);

// How salva_testo reads the text of `txt_cifrato`: a function that goes
// through the main window's global instance. The main window installs it when
// it is first created; until then there is no translation and the text is
// empty, as in a new main window.
using TranslationReader = QString (*)();
void readTranslationWith(TranslationReader reader);

} // namespace Modulo1
