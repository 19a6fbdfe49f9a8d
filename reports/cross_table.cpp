#include "reports/cross_table.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/round_robin_cross_table.h"
#include "reports/standing_rows.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

namespace {

const char* ResultSign(int code) {
    switch (code) {
    case LossAtBoard:
    case LossUnplayed:
        return "-";
    case WinAtBoard:
    case WinUnplayed:
        return "+";
    case DrawAtBoard:
    case HalfUnplayed:
    case HalfNoGameCode:
        return "=";
    default:
        return "";
    }
}

const char* ColorLetter(int color) {
    return color < 0 ? "B" : (color > 0 ? "W" : "N");
}

std::string TextTable(int players, int rounds) {
    std::string out;
    AppendReportHeading(out);
    AppendFormat(out, "\nCross Table at round %d\n\n", CurrentRound);
    out += " ID NAME                 Rat  Tit Nat  Scr |";
    for (int r = 1; r <= rounds; ++r)
        AppendFormat(out, " %3d  ", r);
    out += '\n';
    AppendRule(out, '-', 44 + 6 * rounds);
    for (int p = 1; p <= players; ++p) {
        const Player& player = PlayerRecord(p);
        AppendFormat(out, "%3d %-20.20s %4d %3.3s %3.3s %4.1f | ", p, StandingName(p).c_str(),
                     player.ratingUsed, FieldText(player.title).c_str(), FieldText(player.country).c_str(),
                     ScoreRecord(p).score);
        for (int r = 1; r <= rounds; ++r)
            out += SwissCrossTableCell(p, r);
        out += '\n';
    }
    return out;
}

std::string HtmlTable(int players, int rounds) {
    std::string out;
    AppendCrossTablePageStart(out, "<table cellpadding=\"1\" cellspacing=\"1\" border=\"0\"> \n");
    out += "<tr><th>ID</th> <th >NAME</th> <th>Rat</th> <th>PRat</th> <th>Nat</th> <th>Scr</th>\n";
    for (int r = 1; r <= rounds; ++r)
        AppendFormat(out, "<th> %3d  </th>", r);
    out += "</tr> \n";
    for (int p = 1; p <= players; ++p) {
        const Player& player = PlayerRecord(p);
        AppendFormat(out,
                     "<tr> <td> %3d </td> <td> <a href=\"playercard.html#%d\"> %s %s </a> </td> <td>%4d</td> "
                     "<td bgcolor=\"#EEEEEE\">%4d</td> <td>%s</td> <td>%4.1f</td>",
                     p, p, HtmlEscape(FieldText(player.title).substr(0, 3)).c_str(),
                     HtmlEscape(StandingName(p)).c_str(), player.ratingUsed, ShownPerformance(p),
                     HtmlEscape(FieldText(player.country).substr(0, 3)).c_str(), ScoreRecord(p).score);
        for (int r = 1; r <= rounds; ++r) {
            out += "<td>";
            out += SwissCrossTableCell(p, r);
            out += "</td>";
        }
        out += "</tr>\n";
    }
    AppendCrossTablePageEnd(out);
    return out;
}

} // namespace

void AppendCrossTablePageStart(std::string& out, const char* innerTable) {
    AppendSummaryPageStart(out);
    AppendFormat(out, "<h3> Cross Table at round %d</h3>\n", CurrentRound);
    out += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"0\"><tr><td>\n";
    out += innerTable;
    out += "<tbody>\n";
}

void AppendCrossTablePageEnd(std::string& out) {
    // The outer table's cell and row are closed so the page stays valid.
    out += "</tbody>\n</table>\n</td></tr></table>\n";
    AppendSummaryPageEnd(out);
}

std::string SwissCrossTableCell(int id, int round) {
    const int opponent = OpponentTable(id, round);
    const int code = PlayerResultTable(id, round);
    if (opponent == 0) {
        if (code == LossAtBoard) return " --   ";
        if (code == WinUnplayed) return "+BYE  ";
        if (code == LossUnplayed) return "-BYE  ";
        if (code == HalfUnplayed || code == HalfNoGameCode) return "=BYE  ";
    }
    std::string cell = ResultSign(code);
    cell += ColorLetter(ColorHistory(id, round));
    AppendInt(cell, opponent, 3, true); // "%-3d ": a cell of every round of every player
    cell += ' ';
    return cell;
}

bool WriteCrossTable(int players) {
    if (IsRoundRobin()) return WriteRoundRobinCrossTable(players);
    const int rows = ReportPlayerCount(players);
    const int rounds = ReportRoundCount();
    bool ok = WriteReportFile(DataFolderFile("crosstbl.txt"), TextTable(rows, rounds));
    ok = WriteReportFile(DataFolderFile("crosstbl.html"), HtmlTable(rows, rounds)) && ok;
    return ok;
}
