#include "toolkit/platform/font_catalog.h"

#include "toolkit/platform/font_charset.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <memory>

namespace plat {

namespace {

enum class Kind { Mono, Sans, Serif };

struct MappedFace {
    const char* name; // lower case
    Kind kind;
};

// The faces the toolkit's defaults and settings name, and what serves them.
constexpr MappedFace kFaceMap[] = {
    {"courier new", Kind::Mono}, {"courier", Kind::Mono},     {"fixed", Kind::Mono},
    {"arial", Kind::Sans},       {"helv", Kind::Sans},        {"helvetica", Kind::Sans},
    {"times", Kind::Serif},      {"times new roman", Kind::Serif},
};

// In order of preference: Liberation matches the metrics of the faces the
// settings name; DejaVu stands in where Liberation is not installed.
const char* const kMonoFamilies[] = {"Liberation Mono", "DejaVu Sans Mono"};
const char* const kSansFamilies[] = {"Liberation Sans", "DejaVu Sans"};
const char* const kSerifFamilies[] = {"Liberation Serif", "DejaVu Serif"};

template <std::size_t N>
std::vector<std::string> Names(const char* const (&names)[N]) {
    return std::vector<std::string>(names, names + N);
}

std::vector<std::string> FamiliesOf(Kind kind) {
    switch (kind) {
    case Kind::Mono: return Names(kMonoFamilies);
    case Kind::Serif: return Names(kSerifFamilies);
    case Kind::Sans: break;
    }
    return Names(kSansFamilies);
}

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

std::string Normalised(std::string_view face) {
    std::size_t b = 0, e = face.size();
    while (b < e && (face[b] == ' ' || face[b] == '\t')) ++b;
    while (e > b && (face[e - 1] == ' ' || face[e - 1] == '\t')) --e;
    std::string out;
    for (std::size_t i = b; i < e; ++i) out += char(Lower(static_cast<unsigned char>(face[i])));
    return out;
}

// -1, 0 or 1: case-insensitive order of two names.
int CompareNoCase(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = Lower(static_cast<unsigned char>(a[i])), y = Lower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

// The scalable fonts of the configuration, restricted to one family when given.
FontSetPtr ListFonts(FcConfig* config, const char* utf8Family) {
    if (!config) return nullptr;
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_WIDTH,
                                          static_cast<char*>(nullptr)));
    if (!pattern || !objects) return nullptr;
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (utf8Family) FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8Family));
    return FontSetPtr(FcFontList(config, pattern.get(), objects.get()));
}

int IntegerOf(FcPattern* font, const char* object, int fallback) {
    int value = fallback;
    if (FcPatternGetInteger(font, object, 0, &value) != FcResultMatch) {
        double d = 0;
        if (FcPatternGetDouble(font, object, 0, &d) != FcResultMatch) return fallback;
        value = int(d);
    }
    return value;
}

// The font's family name that the request named (a font may carry several),
// else its first one.
std::string FamilyName(FcPattern* font, const std::string& utf8Family) {
    std::string first;
    FcChar8* family = nullptr;
    for (int k = 0; FcPatternGetString(font, FC_FAMILY, k, &family) == FcResultMatch; ++k) {
        std::string name(reinterpret_cast<const char*>(family));
        if (k == 0) first = name;
        if (CompareNoCase(name, utf8Family) == 0) return Utf8ToCp1252(name).value_or(std::string());
    }
    return Utf8ToCp1252(first).value_or(std::string());
}

} // namespace

namespace {

// The host's configuration being read. A program that opened a display but
// never drew a text still owns what the thread read: it is freed at exit.
struct PendingConfig {
    std::future<FcConfig*> reading;
    ~PendingConfig() {
        if (!reading.valid()) return;
        if (FcConfig* config = reading.get()) FcConfigDestroy(config);
    }
};

PendingConfig systemConfig;
bool systemAsked = false;

} // namespace

void FontCatalog::PrepareSystem() {
    if (systemAsked || systemConfig.reading.valid()) return;
    systemConfig.reading = std::async(std::launch::async, [] { return FcInitLoadConfigAndFonts(); });
}

const FontCatalog& FontCatalog::System() {
    systemAsked = true;
    static FontCatalog catalog(systemConfig.reading.valid() ? systemConfig.reading.get() : FcInitLoadConfigAndFonts(), AdoptTag{});
    return catalog;
}

FontCatalog::FontCatalog(const std::vector<std::string>& folders) : config_(FcConfigCreate()) {
    if (!config_) return;
    // The user's usual cache, so that a folder is scanned once, not per run.
    static const FcChar8 kCache[] = "<fontconfig><cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
    FcConfigParseAndLoadFromMemory(config_, kCache, FcFalse);
    for (const std::string& folder : folders)
        FcConfigAppFontAddDir(config_, reinterpret_cast<const FcChar8*>(folder.c_str()));
}

FontCatalog::~FontCatalog() {
    if (config_) FcConfigDestroy(config_);
}

std::optional<FaceFile> FontCatalog::findFamily(const std::string& utf8Family, bool bold, bool italic) const {
    FontSetPtr fonts = ListFonts(config_, utf8Family.empty() ? nullptr : utf8Family.c_str());
    if (!fonts) return std::nullopt;
    const int wantWeight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    std::optional<FaceFile> best;
    long bestScore = 0;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) continue;
        int weight = IntegerOf(font, FC_WEIGHT, FC_WEIGHT_REGULAR);
        int slant = IntegerOf(font, FC_SLANT, FC_SLANT_ROMAN);
        int width = IntegerOf(font, FC_WIDTH, FC_WIDTH_NORMAL);
        bool fileItalic = slant != FC_SLANT_ROMAN;
        // Normal width first (no condensed face for plain text), then the
        // slant, then the nearest weight.
        long score = std::labs(long(width) - FC_WIDTH_NORMAL) * 100000L + (fileItalic != italic ? 10000L : 0L) +
                     std::labs(long(weight) - wantWeight);
        FaceFile candidate;
        candidate.path = reinterpret_cast<const char*>(file);
        candidate.index = IntegerOf(font, FC_INDEX, 0);
        candidate.bold = weight >= FC_WEIGHT_DEMIBOLD;
        candidate.italic = fileItalic;
        candidate.family = FamilyName(font, utf8Family);
        // Equal scores are settled by the path, so the choice never depends on
        // the order the configuration lists its fonts in.
        if (!best || score < bestScore || (score == bestScore && candidate.path < best->path)) {
            best = std::move(candidate);
            bestScore = score;
        }
    }
    return best;
}

std::optional<FaceFile> FontCatalog::find(std::string_view face, bool bold, bool italic) const {
    std::string key = Normalised(face);
    std::vector<std::string> families;
    Kind kind = Kind::Sans;
    for (const MappedFace& mapped : kFaceMap)
        if (key == mapped.name) kind = mapped.kind, families = FamiliesOf(kind);
    if (families.empty()) {
        if (!key.empty()) families.push_back(Cp1252ToUtf8(key));
        for (std::string& f : FamiliesOf(Kind::Sans)) families.push_back(std::move(f));
    }
    for (const std::string& family : families)
        if (std::optional<FaceFile> file = findFamily(family, bold, italic)) return file;
    // Nothing of the preferred families: any scalable font is better than none.
    return findFamily(std::string(), bold, italic);
}

std::vector<std::string> FontCatalog::families() const {
    std::vector<std::string> names;
    FontSetPtr fonts = ListFonts(config_, nullptr);
    if (!fonts) return names;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; ++k) {
            std::optional<std::string> name = Utf8ToCp1252(reinterpret_cast<const char*>(family));
            if (name && !name->empty()) names.push_back(std::move(*name));
        }
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        int c = CompareNoCase(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace plat
