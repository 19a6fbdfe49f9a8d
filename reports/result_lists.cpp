#include "reports/result_lists.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/round_boards.h"
#include "reports/round_page.h"
#include "tournament/game_code.h"
#include "tournament/settings.h"

#include <vector>

namespace {

std::string ResultList(int round, const std::vector<RoundBoard>& boards) {
    std::string out;
    AppendFormat(out, "Tournament: %s Results of round %d\n", FieldText(Settings.Name).c_str(), round);
    AppendRule(out, '=', 67);
    for (const RoundBoard& b : boards) {
        AppendFormat(out, "%3d = %3d %-20.20s - %3d %-20.20s  = %5.5s\n", b.board, b.white.id, b.white.name.c_str(),
                     b.black.id, b.black.name.c_str(), ResultText(b.digit));
        AppendRule(out, '-', 67);
    }
    out += '\n';
    return out;
}

void ResultPageRow(std::string& out, const RoundBoard& b) {
    AppendFormat(out,
                 "<tr> <td>%3d</td> <td> <a href=\"playercard.html#%d\"> %s %s </a> </td> "
                 "<td><a href=\"playercard.html#%d\"> %s %s </a></td> <td align=\"center\">%s</td></tr>\n",
                 b.board, b.white.id, HtmlEscape(b.white.title).c_str(), HtmlEscape(b.white.name).c_str(),
                 b.black.id, HtmlEscape(b.black.title).c_str(), HtmlEscape(b.black.name).c_str(),
                 ResultText(b.digit));
}

} // namespace

bool WriteResultLists(int round) {
    const std::vector<RoundBoard> boards = RoundBoards(round);
    bool ok = WriteReportFile(DataFolderFile("result%d.txt", round), ResultList(round, boards));
    ok = WriteReportFile(DataFolderFile("result%d.html", round),
                         RoundBoardPage("Result at round", round, boards, ResultPageRow)) && ok;
    return ok;
}
