#pragma once

#include <QString>

#include <cstdint>

// The translation procedures as the main window runs them: each reads the text
// of `txt_latino` and replaces the text of `txt_cifrato` on the main window's
// global instance (creating it if there is none).
namespace Modulo1 {

void traduci_morse();

// `spostamento` must lie within engine::kMinShift..engine::kMaxShift.
void traduci_cifrato(const std::int16_t& spostamento);

// Writes the text of `txt_cifrato` and a line end to the file `percorso` (a
// bare name lies in the current folder), in Windows-1252 with CR LF line ends.
// Characters that Windows-1252 lacks are written as "?" only if the user
// agrees. Returns false, with the user told why, when nothing was written.
bool salva_testo(const QString& percorso);

} // namespace Modulo1
