#pragma once

#include "ui/writer/salva_testo.hpp"

#include <QString>

#include <cstdint>

// The translation procedures as the main window runs them: each reads the text
// of `txt_latino` and replaces the text of `txt_cifrato` on the main window's
// global instance (creating it if there is none).
namespace Modulo1 {

void traduci_morse();

// `spostamento` must lie within engine::kMinShift..engine::kMaxShift.
void traduci_cifrato(const std::int16_t& spostamento);

// The text of `txt_cifrato` on the main window's global instance, as the file
// writer reads it.
QString traduzione();

} // namespace Modulo1
