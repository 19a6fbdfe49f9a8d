// Windows-1252 and Unicode, for the text side of the platform layer.
//
// Every text of the system is Windows-1252 bytes; the fonts and the font
// catalogue speak Unicode. These conversions are used only at that boundary:
// to find the glyph of a byte, to hand a face name to the catalogue and to turn
// the catalogue's family names back into bytes. Holds no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

// The Unicode code point of one Windows-1252 byte. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// of the same value, as the host's own conversion does.
char32_t Cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<unsigned char> UnicodeToCp1252(char32_t code);

// Whole texts: Windows-1252 to UTF-8 always succeeds; UTF-8 to Windows-1252
// gives nothing when the text is not valid UTF-8 or holds a character the code
// page cannot show.
std::string Cp1252ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToCp1252(std::string_view text);

} // namespace plat
