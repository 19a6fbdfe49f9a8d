#include "reports/round_robin_cross_table.h"

#include "reports/cross_table.h"
#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

// The cells of the square, by standings position (0-based): each a blank and
// up to two result characters, printed with the pad that makes it four wide.
class CrossSquare {
  public:
    CrossSquare(const std::vector<int>& order, int rounds) {
        const bool twice = Settings.PairingSystem == DoubleRoundRobinSystem;
        const int games = twice ? 2 : 1;
        pads_ = twice ? std::array<const char*, 3>{"-- ", "- ", " "}
                      : std::array<const char*, 3>{"-  ", "  ", "  "};
        const int n = static_cast<int>(order.size());
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                Cell& cell = cells_[i][j];
                if (i == j) continue;
                for (int r = 1; r <= rounds; ++r) {
                    if (OpponentTable(order[i], r) != order[j]) continue;
                    // Each row reads its own result: the opposite of the
                    // other row's would turn a double forfeit into a win.
                    const char result = ResultCharacter(PlayerResultTable(order[i], r));
                    if (result != '\0' && cell.length <= games) cell.text[cell.length++] = result;
                }
            }
    }

    // The cell of (row, column) followed by its pad: four characters.
    std::string padded(int row, int column) const {
        const Cell& cell = cells_[row][column];
        std::string out(cell.text, static_cast<std::size_t>(cell.length));
        out += pads_[static_cast<std::size_t>(cell.length - 1)];
        return out;
    }

  private:
    struct Cell {
        char text[3] = {' ', '\0', '\0'};
        int length = 1;
    };

    static char ResultCharacter(int code) {
        switch (code) {
        case WinAtBoard:
        case WinUnplayed:
            return '1';
        case LossAtBoard:
        case LossUnplayed:
            return '0';
        case DrawAtBoard:
        case HalfUnplayed:
            return '\xBD';
        default:
            return '\0';
        }
    }

    std::array<const char*, 3> pads_;
    Cell cells_[RoundRobinMaxPlayers][RoundRobinMaxPlayers];
};

std::string TextTable(const std::vector<int>& order, const CrossSquare& square) {
    const int n = static_cast<int>(order.size());
    std::string out;
    AppendReportHeading(out);
    out += "\nFinal Cross Table\n";
    out += " N  NAME                 Elo  cat nat  score |";
    for (int k = 1; k <= n; ++k)
        AppendFormat(out, "%3d ", k);
    out += "\n----------------------------------------------";
    for (int k = 1; k <= n; ++k)
        out += "----";
    out += '\n';
    for (int i = 0; i < n; ++i) {
        const int p = order[i];
        const Player& player = PlayerRecord(p);
        AppendFormat(out, "%3d %-20.20s %4d %3.3s %3.3s %6.2f | ", i + 1, StandingName(p).c_str(),
                     player.ratingUsed, FieldText(player.title).c_str(), FieldText(player.country).c_str(),
                     ScoreRecord(p).score);
        for (int k = 0; k < n; ++k)
            out += k == i ? " *  " : square.padded(i, k);
        out += '\n';
    }
    out += '\n';
    return out;
}

std::string HtmlTable(const std::vector<int>& order, const CrossSquare& square) {
    const int n = static_cast<int>(order.size());
    std::string out;
    AppendCrossTablePageStart(out, "<table cellpadding=\"2\" cellspacing=\"3\" border=\"0\"> \n");
    out +=
        "<tr><th>ID</th> <th width=\"180\">NAME</th> <th>Rat</th> <th>PRat</th> <th>Nat</th> <th>Scr</th>\n";
    for (int k = 1; k <= n; ++k)
        AppendFormat(out, "<th> %d </th>", k);
    out += "</tr> \n";
    for (int i = 0; i < n; ++i) {
        const int p = order[i];
        const Player& player = PlayerRecord(p);
        // The page has room for the whole name; the anchor is the player's id.
        AppendFormat(out,
                     "<tr> <td>%3d</td> <td> <a href=\"playercard.html#%d\"> %s %s </a> </td> <td>%4d</td> "
                     "<td bgcolor=\"#EEEEEE\">%4d</td> <td>%s</td> <td>%4.1f</td>",
                     i + 1, p, HtmlEscape(FieldText(player.title).substr(0, 3)).c_str(),
                     HtmlEscape(FullStandingName(p)).c_str(), player.ratingUsed, ShownPerformance(p),
                     HtmlEscape(FieldText(player.country).substr(0, 3)).c_str(), ScoreRecord(p).score);
        for (int k = 0; k < n; ++k) {
            if (k == i)
                out += "<td bgcolor=\"#000000\" width=\"27\"> &nbsp; </td>";
            else
                AppendFormat(out, "<td align=\"center\">%s</td>", square.padded(i, k).c_str());
        }
        out += "\n</tr>\n";
    }
    AppendCrossTablePageEnd(out);
    return out;
}

} // namespace

bool WriteRoundRobinCrossTable(int players) {
    // The square holds at most a round robin's capacity of players.
    const std::vector<int> order = SortedPlayers(std::min(players, RoundRobinMaxPlayers), CompareStandings);
    const CrossSquare square(order, ReportRoundCount());
    bool ok = WriteReportFile(DataFolderFile("crosstbl.txt"), TextTable(order, square));
    ok = WriteReportFile(DataFolderFile("crosstbl.html"), HtmlTable(order, square)) && ok;
    return ok;
}
