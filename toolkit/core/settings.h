// The toolkit's two settings files and the formats of their values.
//
// The program's own file (its path with the extension "ini") is read first
// and is the only one written; the toolkit's "woku.ini" in the toolkit folder
// is read when the program's file lacks a key or holds it with an empty
// value. The window-system start names both files (WkSetSettingsFiles);
// until then nothing is found and nothing is written.
//
// Texts returned by the reads live in one buffer of this module, overwritten
// by the next read; values are kept whole, whatever their length. Value
// formats (parts separated by blanks or commas):
//   colour      "r,g,b", each 0..255; or "FromParent" (any case) with an
//               optional lightness percentage, 100 when absent
//   shadow      a type name NONE, SHADOW_OUT, SHADOW_IN, ETCHED_IN,
//               ETCHED_OUT and two widths 0..12 (NONE takes widths 0)
//   font        one of the ten slot names DEFAULT .. TIMES_LARGE
//   bgImage     a file name, ';' and a mode TILED, CENTERED or SIZE_FORCING
//   font value  "face,height,bold" (the font sections by screen size)
// Settings files that hold lines the reader cannot place are named in the
// log once each.
#pragma once

#include <string>

// Names both files; either may be null (no such file).
void WkSetSettingsFiles(const char* programFile, const char* toolkitFile);
const char* WkProgramSettingsPath(); // "" when not set
const char* WkToolkitSettingsPath(); // "" when not set

// The value from the program's file, else from the toolkit's; null when
// neither holds a non-empty value.
const char* WkReadSetting(const char* section, const char* key);
// Writes the key into the program's file: 1 when written, 0 when not (no
// file named, a name that cannot be stored, or the file cannot be written).
int WkWriteSetting(const char* section, const char* key, const char* value);
// Every write reaches the file at once, so there is nothing to flush; kept
// for the callers that end a series of writes with it.
void WkFlushSettings();

// 1 and the value when the key holds a decimal number, else 0 (*value kept).
int WkReadIntSetting(const char* section, const char* key, int* value);
int WkWriteIntSetting(const char* section, const char* key, int value);

// Value parsers: 1 for a valid text, else 0 with the outputs untouched.
// A colour of "FromParent" gives red -1 and the percentage as green.
int WkParseColorValue(const char* text, int* red, int* green, int* blue);
int WkParseShadowValue(const char* text, int* type, int* width, int* outerWidth);
// "face,height,bold": the face up to the first ',', then the height and the
// bold flag (any value but 0 is bold), both decimal numbers.
int WkParseFontValue(const char* text, std::string* face, int* height, int* bold);
// The file name; the mode goes to *mode (0 TILED when missing or unknown).
std::string WkParseBgImageValue(const char* text, int* mode);

// Slot 0..9 of a font name (compared exactly), -1 for any other; the name
// of a slot, null outside 0..9. Likewise for shadow types 0..4 and image
// modes 0..2.
int WkFontSlotByName(const char* name);
const char* WkFontSlotName(int slot);
const char* WkShadowTypeName(int type);
const char* WkBgImageModeName(int mode);

int WkReadColorSetting(const char* section, const char* key, int* red, int* green, int* blue);
int WkReadForegroundSetting(const char* section, int* red, int* green, int* blue);
int WkReadBackgroundSetting(const char* section, int* red, int* green, int* blue);
int WkReadShadowSetting(const char* section, int* type, int* width, int* outerWidth);
int WkReadFontSetting(const char* section, int* slot);
// The file name of "bgImage" (in the read buffer) and its mode; null when missing.
const char* WkReadBgImageSetting(const char* section, int* mode);
const char* WkReadTextSetting(const char* section);

// Writers of the same keys; they return what WkWriteSetting returns, and 0
// for a shadow type outside 0..4 or a font slot outside 0..9.
int WkWriteForegroundSetting(const char* section, int red, int green, int blue);
int WkWriteBackgroundSetting(const char* section, int red, int green, int blue);
int WkWriteShadowSetting(const char* section, int type, int width, int outerWidth);
int WkWriteFontSetting(const char* section, int slot);
int WkWriteBgImageSetting(const char* section, const char* file, int mode);
int WkWriteTextSetting(const char* section, const char* text);
