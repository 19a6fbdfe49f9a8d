// The font catalogue: which installed font file serves a face name.
//
// The catalogue asks the host's font configuration (fontconfig) what is
// installed; it owns that configuration and nothing else. Face names the
// toolkit's settings use ("courier new", "courier", "fixed", "arial", "helv",
// "helvetica", "times", "times new roman") are served through an explicit map:
// Liberation Mono, Sans and Serif, or DejaVu Sans Mono, Sans and Serif where
// Liberation is not installed. Any other name is looked up as a family of its
// own; an unknown or empty name falls back to the sans-serif choice, so a
// settings file naming a font this machine lacks still gets readable text.
// Names going in and out are Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _FcConfig;

namespace plat {

// One font file (and face within it) chosen for a request.
struct FaceFile {
    std::string path;
    int index = 0;       // the face's number within the file
    std::string family;  // the family that served the request, Windows-1252
    bool bold = false;   // the file's own style; the rest must be made up
    bool italic = false;
};

class FontCatalog {
public:
    // The host's font configuration; FONTCONFIG_FILE, when set before the
    // first use, names the configuration file to read instead of the host's.
    static const FontCatalog& System();
    // Starts reading the host's configuration on a thread of its own, for
    // System() to take when it is first asked: reading it takes a few
    // milliseconds that a program's start can spend making its windows.
    // Nothing once System() has been asked. The thread reads the
    // environment (FONTCONFIG_FILE, HOME, XDG_*): nothing may change it
    // from the call on.
    static void PrepareSystem();

    // A catalogue of the fonts in the given folders only.
    explicit FontCatalog(const std::vector<std::string>& folders);
    ~FontCatalog();
    FontCatalog(const FontCatalog&) = delete;
    FontCatalog& operator=(const FontCatalog&) = delete;

    // The file serving face (any case, surrounding blanks ignored) in the style
    // closest to the one asked for; nothing when no scalable font is installed.
    std::optional<FaceFile> find(std::string_view face, bool bold, bool italic) const;

    // The family names of the installed scalable fonts, each once, sorted
    // without regard to case (ties in byte order). Names the code page cannot
    // hold are left out.
    std::vector<std::string> families() const;

private:
    struct AdoptTag {};
    FontCatalog(_FcConfig* config, AdoptTag) : config_(config) {}
    std::optional<FaceFile> findFamily(const std::string& utf8Family, bool bold, bool italic) const;

    _FcConfig* config_ = nullptr;
};

} // namespace plat
