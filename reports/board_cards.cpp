#include "reports/board_cards.h"

#include "reports/report_file.h"
#include "reports/round_boards.h"
#include "tournament/settings.h"

#include <vector>

namespace {

constexpr int CardsPerPage = 7;

// The fixed columns of a player line, fields cut and padded before any
// escaping so that the columns stay where they are.
std::string PaddedName(const BoardSide& side) {
    std::string field;
    AppendFormat(field, "%-20.20s", side.name.c_str());
    return field;
}
std::string PaddedTitle(const BoardSide& side) {
    std::string field;
    AppendFormat(field, "%3s", side.title.c_str());
    return field;
}

// The player line without its frame; escape turns stored texts into what
// the file needs.
template <typename Escape> std::string PlayerLine(const RoundBoard& b, Escape escape) {
    std::string line;
    AppendFormat(line, "%3d %s (%4d,%s) %4.1f - %3d %s (%4d,%s) %4.1f", b.white.id,
                 escape(PaddedName(b.white)).c_str(), b.white.rating, escape(PaddedTitle(b.white)).c_str(),
                 b.white.score, b.black.id, escape(PaddedName(b.black)).c_str(), b.black.rating,
                 escape(PaddedTitle(b.black)).c_str(), b.black.score);
    return line;
}

std::string AsStored(const std::string& text) { return text; }

} // namespace

bool WriteBoardCards(int round) {
    const std::string name = FieldText(Settings.Name);
    const std::string begin = FieldText(Settings.BeginDate);
    const std::string end = FieldText(Settings.EndDate);
    std::string out;
    for (const RoundBoard& b : RoundBoards(round)) {
        AppendFormat(out, "\n%s%d,  Round: %d, Tournament: %s, Date:%s,%s\n", BoardCardStart, b.board, round,
                     name.c_str(), begin.c_str(), end.c_str());
        AppendFormat(out, "\n %s\n", PlayerLine(b, AsStored).c_str());
        out += "\n  _______________________    _________    _______________________\n"
               "      white signature          result         black signature\n"
               "\n      -       -       -       -       -       -      -      -      -\n";
    }
    out += '\n';
    return WriteReportFile(DataFolderFile(BoardCardsFileName), out);
}

std::string RtfEscape(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (byte >= 0x80) {
            out += "\\'";
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

bool WriteBoardCardsRtf(int round) {
    const std::vector<RoundBoard> boards = RoundBoards(round);
    const int count = static_cast<int>(boards.size());
    const std::string name = RtfEscape(FieldText(Settings.Name));
    const std::string begin = RtfEscape(FieldText(Settings.BeginDate));
    const std::string end = RtfEscape(FieldText(Settings.EndDate));
    std::string out =
        "{\\rtf1\\ansi\\uc0 \\deff1 \n"
        "{\\fonttbl{\\f1\\froman\\fcharset0\\fprq2 Courier ;}} \n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
        "\\red255\\green0\\blue255;\\red255\\green0\\blue0; \n"
        "\\red255\\green255\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue128;\\red0\\green128\\blue128;"
        "\\red0\\green128\\blue0;\\red128\\green0\\blue128;\\red128\\green0\\blue0;\\red128\\green128\\blue0;"
        "\\red128\\green128\\blue128;\\red192\\green192\\blue192;} \n"
        "{\\info }\\paperw11900\\paperh16820\\margl560\\margr560\\margt700\\margb700\\widowctrl\\ftnbj\\aenddoc"
        "\\formshade \\fet0\\sectd \n"
        "\\linex0\\endnhere\\plain \n";
    const int pages = (count + CardsPerPage - 1) / CardsPerPage;
    for (int p = 1; p <= pages; ++p) {
        for (int j = 1; j <= CardsPerPage; ++j) {
            const int board = (j - 1) * pages + p;
            if (board > count) continue;
            const RoundBoard& b = boards[static_cast<std::size_t>(board - 1)];
            AppendFormat(out, "\n \\pard {\\cf1{\\fs20\\f1  Table %d,   Round = %d, Tournament: %s, Date:%s,%s}} \n \\par \\par \n",
                         b.board, round, name.c_str(), begin.c_str(), end.c_str());
            AppendFormat(out, "\\pard {\\cf1{\\fs20\\f1 %s}} \n \\par \\par \n", PlayerLine(b, RtfEscape).c_str());
            out += "\\pard {\\cf1{\\fs20\\f1  _______________________    _________    _______________________ }} \n \\par \\par \n"
                   "\\pard {\\cf1{\\fs20\\f1      white signature          result         black signature }} \n \\par \\par \n";
            if (j != CardsPerPage)
                out += "\\pard {\\cf1{\\fs20\\f1     -       -       -       -       -       -      -      -      - }} \n \\par \\par \n";
        }
        // A page break after the last page would leave an empty page at the
        // end of the document, so pages are only separated.
        if (p != pages) out += "\\page ";
    }
    out += "\\par }";
    return WriteReportFile(DataFolderFile("boardcrd.rtf"), out);
}
