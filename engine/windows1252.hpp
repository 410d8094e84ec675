#pragma once

namespace engine {

// The character of each Windows-1252 code. The five codes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of
// the same codes, as in the window, so that every byte is a character.
char32_t from_windows1252(unsigned char code);

// The Windows-1252 code of `c`, or -1 when the code page has none.
int to_windows1252(char32_t c);

} // namespace engine
