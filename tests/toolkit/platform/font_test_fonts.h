// Points the host's font configuration at the tests' own fonts.conf, which
// lists only the project's chosen fonts. Must run before the first font or
// catalogue query of the process; test files call it from a static
// initialiser.
#pragma once

#include <cstdlib>

inline bool UseTestFonts() {
    return setenv("FONTCONFIG_FILE", TM_TEST_SOURCE_DIR "/toolkit/platform/fonts.conf", 1) == 0;
}
