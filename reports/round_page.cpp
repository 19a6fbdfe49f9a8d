#include "reports/round_page.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "tournament/settings.h"

std::string RoundBoardPage(const char* heading, int round, const std::vector<RoundBoard>& boards, BoardRowWriter row) {
    std::string out;
    AppendHtmlHead(out, FieldText(Settings.Name));
    AppendHtmlNavigation(out);
    AppendHtmlTitleBlock(out);
    AppendFormat(out, "<h3> %s %d</h3>\n", heading, round);
    out += "<table cellpadding=\"2\" cellspacing=\"3\" border=\"0\"> \n"
           "<tbody>\n"
           "<tr><th>Table</th> <th >White</th> <th>Black</th> <th>result</th></tr>\n";
    for (const RoundBoard& b : boards) row(out, b);
    out += "</tbody>\n</table>\n";
    AppendHtmlNavigation(out);
    AppendHtmlPageEnd(out);
    return out;
}
