#include "toolkit/core/settings.h"

#include "toolkit/core/log.h"
#include "toolkit/platform/files.h"
#include "toolkit/platform/profile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace {

std::string programFile;
std::string toolkitFile;
std::string readBuffer;
std::set<std::string> reportedFiles;

const char* const kFontNames[] = {"DEFAULT",    "FIXED_SMALL",  "FIXED_MEDIUM", "FIXED_LARGE",
                                  "HELV_SMALL", "HELV_MEDIUM",  "TIMES_SMALL",  "TIMES_MEDIUM",
                                  "HELV_LARGE", "TIMES_LARGE"};
const char* const kShadowNames[] = {"NONE", "SHADOW_OUT", "SHADOW_IN", "ETCHED_IN", "ETCHED_OUT"};
const char* const kModeNames[] = {"TILED", "CENTERED", "SIZE_FORCING"};

// The file as it stands on disk, found whatever the case of its name.
std::string OnDisk(const std::string& path) {
    if (path.empty()) return path;
    std::optional<std::string> found = plat::FindPathNoCase(path);
    return found ? *found : plat::ToSlashes(path);
}

std::optional<std::string> ReadFrom(const std::string& path, const char* section, const char* key) {
    if (path.empty()) return std::nullopt;
    plat::Profile profile;
    std::string file = OnDisk(path), error;
    bool ok = profile.load(file, &error);
    if (reportedFiles.insert(file).second) {
        if (!ok) WkLog(WK_LOG_ERROR, "%s", error.c_str());
        for (const std::string& problem : profile.problems()) WkLog(WK_LOG_ERROR, "%s", problem.c_str());
    }
    std::optional<std::string> v = profile.value(section, key);
    if (v && v->empty()) return std::nullopt; // an empty value counts as missing
    return v;
}

// Splits at blanks and commas into at most max words.
std::vector<std::string> Words(const char* text, std::size_t max) {
    std::vector<std::string> words;
    std::string_view s = text ? text : "";
    std::size_t i = 0;
    while (i < s.size() && words.size() < max) {
        std::size_t start = s.find_first_not_of(" \t,", i);
        if (start == std::string_view::npos) break;
        std::size_t end = s.find_first_of(" \t,", start);
        if (end == std::string_view::npos) end = s.size();
        words.emplace_back(s.substr(start, end - start));
        i = end;
    }
    return words;
}

// A whole decimal number (an optional sign, then digits) within int.
bool Number(const std::string& word, int* out) {
    if (word.empty()) return false;
    const char* begin = word.c_str();
    const char* digits = (*begin == '-' || *begin == '+') ? begin + 1 : begin;
    if (*digits < '0' || *digits > '9') return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(begin, &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    *out = int(v);
    return true;
}

bool EqualNoCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && plat::CompareNoCase(a, b) == 0;
}

int IndexOf(const char* const* names, int count, std::string_view name) {
    for (int i = 0; i < count; ++i)
        if (name == names[i]) return i;
    return -1;
}

const char* Returned(const std::optional<std::string>& value) {
    if (!value) return nullptr;
    readBuffer = *value;
    return readBuffer.c_str();
}

std::string Format3(int a, int b, int c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

} // namespace

void WkSetSettingsFiles(const char* program, const char* toolkit) {
    programFile = program ? plat::ToSlashes(program) : std::string();
    toolkitFile = toolkit ? plat::ToSlashes(toolkit) : std::string();
    reportedFiles.clear();
}

const char* WkProgramSettingsPath() { return programFile.c_str(); }
const char* WkToolkitSettingsPath() { return toolkitFile.c_str(); }

const char* WkReadSetting(const char* section, const char* key) {
    if (!section || !key) return nullptr;
    std::optional<std::string> v = ReadFrom(programFile, section, key);
    if (!v) v = ReadFrom(toolkitFile, section, key);
    return Returned(v);
}

int WkWriteSetting(const char* section, const char* key, const char* value) {
    if (programFile.empty() || !section || !key) return 0;
    std::string error;
    if (plat::WriteProfileString(OnDisk(programFile), section, key, value ? value : "", &error)) return 1;
    WkLog(WK_LOG_ERROR, "%s", error.c_str());
    return 0;
}

void WkFlushSettings() {}

int WkReadIntSetting(const char* section, const char* key, int* value) {
    const char* text = WkReadSetting(section, key);
    int v;
    if (!text || !Number(text, &v)) return 0;
    if (value) *value = v;
    return 1;
}

int WkWriteIntSetting(const char* section, const char* key, int value) {
    return WkWriteSetting(section, key, std::to_string(value).c_str());
}

int WkParseColorValue(const char* text, int* red, int* green, int* blue) {
    std::vector<std::string> w = Words(text, 3);
    if (w.empty()) return 0;
    int r, g, b;
    if (EqualNoCase(w[0], "FromParent")) {
        int percent = 100;
        if (w.size() > 1 && (!Number(w[1], &percent) || percent < 0)) return 0;
        r = -1;
        g = percent;
        b = 0;
    } else {
        if (w.size() < 3 || !Number(w[0], &r) || !Number(w[1], &g) || !Number(w[2], &b)) return 0;
        if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return 0;
    }
    if (red) *red = r;
    if (green) *green = g;
    if (blue) *blue = b;
    return 1;
}

int WkParseShadowValue(const char* text, int* type, int* width, int* outerWidth) {
    std::vector<std::string> w = Words(text, 3);
    if (w.size() < 3) return 0;
    int t = IndexOf(kShadowNames, 5, w[0]);
    if (t < 0) return 0;
    int a = 0, b = 0;
    if (t != 0 && (!Number(w[1], &a) || !Number(w[2], &b) || a < 0 || a > 12 || b < 0 || b > 12)) return 0;
    if (type) *type = t;
    if (width) *width = a;
    if (outerWidth) *outerWidth = b;
    return 1;
}

int WkParseFontValue(const char* text, std::string* face, int* height, int* bold) {
    if (!text) return 0;
    const char* comma = std::strchr(text, ',');
    if (!comma || comma == text) return 0;
    std::vector<std::string> w = Words(comma + 1, 2);
    int h, b;
    if (w.size() < 2 || !Number(w[0], &h) || !Number(w[1], &b)) return 0;
    if (face) face->assign(text, std::size_t(comma - text));
    if (height) *height = h;
    if (bold) *bold = b != 0;
    return 1;
}

std::string WkParseBgImageValue(const char* text, int* mode) {
    std::string_view s = text ? text : "";
    std::string_view file = s, modeName;
    // The writer puts a ';' before the mode; older values may use a blank.
    // A name may itself hold blanks, so a blank only counts before a known mode.
    std::size_t semi = s.rfind(';');
    if (semi != std::string_view::npos) {
        file = s.substr(0, semi);
        modeName = s.substr(semi + 1);
    } else {
        std::size_t blank = s.find_last_of(" \t");
        if (blank != std::string_view::npos && IndexOf(kModeNames, 3, s.substr(blank + 1)) >= 0) {
            file = s.substr(0, blank);
            modeName = s.substr(blank + 1);
        }
    }
    while (!file.empty() && (file.back() == ' ' || file.back() == '\t')) file.remove_suffix(1);
    while (!modeName.empty() && (modeName.front() == ' ' || modeName.front() == '\t')) modeName.remove_prefix(1);
    int m = IndexOf(kModeNames, 3, modeName);
    if (mode) *mode = m < 0 ? 0 : m;
    return std::string(file);
}

int WkFontSlotByName(const char* name) { return name ? IndexOf(kFontNames, 10, name) : -1; }
const char* WkFontSlotName(int slot) { return slot >= 0 && slot < 10 ? kFontNames[slot] : nullptr; }
const char* WkShadowTypeName(int type) { return type >= 0 && type < 5 ? kShadowNames[type] : nullptr; }
const char* WkBgImageModeName(int mode) { return mode >= 0 && mode < 3 ? kModeNames[mode] : nullptr; }

int WkReadColorSetting(const char* section, const char* key, int* red, int* green, int* blue) {
    const char* text = WkReadSetting(section, key);
    return text ? WkParseColorValue(text, red, green, blue) : 0;
}

int WkReadForegroundSetting(const char* section, int* red, int* green, int* blue) {
    return WkReadColorSetting(section, "foreground", red, green, blue);
}

int WkReadBackgroundSetting(const char* section, int* red, int* green, int* blue) {
    return WkReadColorSetting(section, "background", red, green, blue);
}

int WkReadShadowSetting(const char* section, int* type, int* width, int* outerWidth) {
    const char* text = WkReadSetting(section, "shadow");
    return text ? WkParseShadowValue(text, type, width, outerWidth) : 0;
}

int WkReadFontSetting(const char* section, int* slot) {
    int s = WkFontSlotByName(WkReadSetting(section, "font"));
    if (s < 0) return 0;
    if (slot) *slot = s;
    return 1;
}

const char* WkReadBgImageSetting(const char* section, int* mode) {
    const char* text = WkReadSetting(section, "bgImage");
    if (!text) return nullptr;
    readBuffer = WkParseBgImageValue(text, mode);
    return readBuffer.c_str();
}

const char* WkReadTextSetting(const char* section) { return WkReadSetting(section, "text"); }

int WkWriteForegroundSetting(const char* section, int red, int green, int blue) {
    return WkWriteSetting(section, "foreground", Format3(red, green, blue).c_str());
}

int WkWriteBackgroundSetting(const char* section, int red, int green, int blue) {
    return WkWriteSetting(section, "background", Format3(red, green, blue).c_str());
}

int WkWriteShadowSetting(const char* section, int type, int width, int outerWidth) {
    const char* name = WkShadowTypeName(type);
    if (!name) return 0;
    return WkWriteSetting(section, "shadow",
                          (std::string(name) + "," + std::to_string(width) + "," + std::to_string(outerWidth)).c_str());
}

int WkWriteFontSetting(const char* section, int slot) {
    const char* name = WkFontSlotName(slot);
    return name ? WkWriteSetting(section, "font", name) : 0;
}

int WkWriteBgImageSetting(const char* section, const char* file, int mode) {
    const char* name = WkBgImageModeName(mode);
    std::string value = std::string(file ? file : "") + ";" + (name ? name : kModeNames[0]);
    return WkWriteSetting(section, "bgImage", value.c_str());
}

int WkWriteTextSetting(const char* section, const char* text) { return WkWriteSetting(section, "text", text); }
