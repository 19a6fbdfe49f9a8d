#include "reports/pairing_lists.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/round_boards.h"
#include "reports/round_page.h"
#include "tournament/capacities.h"
#include "tournament/files/line_reader.h"
#include "tournament/players.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

// "Tournament: <name>   - Round <r>", the first line of every text list.
void AppendListHeading(std::string& out, int round) {
    AppendFormat(out, "Tournament: %s   - Round %d\n", FieldText(Settings.Name).c_str(), round);
}

std::string ScoreList(int round, const std::vector<RoundBoard>& boards) {
    std::string out;
    AppendListHeading(out, round);
    AppendRule(out, '=', 81);
    for (const RoundBoard& b : boards) {
        AppendFormat(out, "%3d = %3d %-20.20s (%4.1f) - %3d %-20.20s (%4.1f) = ...-...\n", b.board, b.white.id,
                     b.white.name.c_str(), b.white.score, b.black.id, b.black.name.c_str(), b.black.score);
        AppendRule(out, '-', 81);
    }
    out += '\n';
    return out;
}

void PairingPageRow(std::string& out, const RoundBoard& b) {
    AppendFormat(out,
                 "<tr> <td>%3d</td> <td>  <a href=\"playercard.html#%d\"> %s %s </a> (%.1f)</td> "
                 "<td> <a href=\"playercard.html#%d\"> %s %s </a> (%.1f)</td> <td>...</td></tr>\n",
                 b.board, b.white.id, HtmlEscape(b.white.title).c_str(), HtmlEscape(b.white.name).c_str(),
                 b.white.score, b.black.id, HtmlEscape(b.black.title).c_str(), HtmlEscape(b.black.name).c_str(),
                 b.black.score);
}

std::string BoardTable(int round, const std::vector<RoundBoard>& boards) {
    std::string out;
    AppendListHeading(out, round);
    AppendRule(out, '=', 70);
    out += " TABLE   WHITE                      BLACK\n";
    AppendRule(out, '=', 70);
    for (const RoundBoard& b : boards)
        AppendFormat(out, " %3d  =  %-20.20s   -   %-20.20s  = ... - ...\n", b.board, b.white.name.c_str(),
                     b.black.name.c_str());
    out += '\n';
    return out;
}

} // namespace

bool WritePairingLists(int round) {
    const std::vector<RoundBoard> boards = RoundBoards(round);
    bool ok = WriteReportFile(DataFolderFile("pairs%d.txt", round), ScoreList(round, boards));
    ok = WriteReportFile(DataFolderFile("pairs%d.html", round),
                         RoundBoardPage("Pairing at round", round, boards, PairingPageRow)) && ok;
    ok = WriteReportFile(DataFolderFile("pairing%d.txt", round), BoardTable(round, boards)) && ok;
    if (!IsRoundRobin()) ok = WritePairFile(DataFolderFile("pairs%d.man", round), round) && ok;
    return ok;
}

int RoundRobinRoundCount(int playerCount, int pairingSystem) {
    if (playerCount < 1) return 0;
    int rounds = playerCount % 2 == 0 ? playerCount - 1 : playerCount;
    return pairingSystem == DoubleRoundRobinSystem ? 2 * rounds : rounds;
}

bool WriteRoundRobinPairings() {
    // A schedule longer than the table cannot have been made; its rounds
    // past the table would only print empty headings.
    const int rounds = std::min(RoundRobinRoundCount(PlayerCount, Settings.PairingSystem), RoundRobinInstance.lastRound());
    std::string out;
    for (int r = 1; r <= rounds; ++r) {
        AppendListHeading(out, r);
        AppendRule(out, '=', 70);
        for (const RoundBoard& b : RoundBoards(RoundRobinInstance, r)) {
            AppendFormat(out, "%3d = %3d %-20.20s - %3d %-20.20s  = ...-...\n", b.board, b.white.id,
                         b.white.name.c_str(), b.black.id, b.black.name.c_str());
            AppendRule(out, '-', 70);
        }
        out += "\n\n";
    }
    return WriteReportFile(DataFolderFile("pairsRR.txt"), out);
}

bool WritePairFile(const std::string& path, int round) {
    const std::vector<RoundBoard> boards = RoundBoards(SwissInstance, round);
    std::string out;
    AppendFormat(out, "%d\n", static_cast<int>(boards.size()));
    for (const RoundBoard& b : boards) AppendFormat(out, "%d    %d\n", b.white.id, b.black.id);
    return WriteReportFile(path, out);
}

namespace {

// Hands out the white-space separated words of a file with the number of
// the line each one stands on.
class WordReader {
public:
    explicit WordReader(LineReader& lines) : lines_(lines) {}

    bool next(std::string& word) {
        while (!(words_ >> word)) {
            std::string line;
            if (!lines_.next(line)) return false;
            words_.clear();
            words_.str(line);
        }
        return true;
    }

private:
    LineReader& lines_;
    std::istringstream words_;
};

// A decimal number without sign in low..high.
bool ParseNumber(const std::string& word, int low, int high, int& value) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = std::atoi(word.c_str());
    return value >= low && value <= high;
}

} // namespace

bool ReadPairFile(const std::string& path, std::vector<PairFileBoard>& boards, std::string& error) {
    boards.clear();
    LineReader lines(path);
    if (!lines.ok()) {
        error = path + ": cannot be opened";
        return false;
    }
    WordReader words(lines);
    std::string word;
    auto fail = [&](const std::string& what) {
        boards.clear();
        error = lines.error(what);
        return false;
    };
    int count = 0;
    if (!words.next(word)) return fail("expected the number of boards");
    if (!ParseNumber(word, 0, SwissMaxBoards, count))
        return fail("expected the number of boards (0 to " + std::to_string(SwissMaxBoards) + "), found \"" + word + "\"");
    const std::string idRange = " (0 to " + std::to_string(MaxPlayers) + ")";
    std::vector<int> boardOf(MaxPlayers + 1, 0);
    for (int b = 1; b <= count; ++b) {
        PairFileBoard board{};
        const std::string where = " of board " + std::to_string(b);
        if (!words.next(word)) return fail("expected the white player's id" + where);
        if (!ParseNumber(word, 0, MaxPlayers, board.white))
            return fail("expected the white player's id" + where + idRange + ", found \"" + word + "\"");
        if (!words.next(word)) return fail("expected the black player's id" + where);
        if (!ParseNumber(word, 0, MaxPlayers, board.black))
            return fail("expected the black player's id" + where + idRange + ", found \"" + word + "\"");
        const std::string on = " on board " + std::to_string(b);
        if (board.white == board.black)
            return fail(board.white == 0 ? "the BYE against the BYE" + on
                                         : "player " + std::to_string(board.white) + " against himself" + on);
        for (int id : {board.white, board.black}) {
            if (id != 0 && boardOf[id] != 0)
                return fail("player " + std::to_string(id) + " on board " + std::to_string(boardOf[id]) + " and" + on);
            boardOf[id] = b;
        }
        boards.push_back(board);
    }
    if (words.next(word)) return fail("expected the end of the file after " + std::to_string(count) + " boards, found \"" + word + "\"");
    return true;
}
