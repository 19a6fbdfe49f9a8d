#include "toolkit/platform/font_charset.h"

namespace plat {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1 and maps to itself.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        // Windows-1252 reaches no further than the Basic Multilingual Plane.
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> UnicodeToCp1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code < 0x100)) return static_cast<unsigned char>(code);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == code) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
    static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                                  : (lead & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || text.size() - i <= std::size_t(extra)) return std::nullopt;
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < kSmallest[extra]) return std::nullopt; // an overlong form
        std::optional<unsigned char> byte = UnicodeToCp1252(code);
        if (!byte) return std::nullopt;
        out += char(*byte);
        i += std::size_t(extra) + 1;
    }
    return out;
}

} // namespace plat
