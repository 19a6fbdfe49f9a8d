#include "reports/index_page.h"

#include <algorithm>

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

bool WriteHtmlIndex() {
    const std::string name = HtmlEscape(FieldText(Settings.Name));
    std::string out;
    AppendHtmlHead(out, FieldText(Settings.Name), HtmlHeadVariant::Home);
    AppendFormat(out, "<h2 align=\"center\">%s</h2>\n", name.c_str());
    AppendFormat(out, "<h2 align=\"center\">%s, &nbsp;%s,%s</h2>\n", HtmlEscape(FieldText(Settings.Place)).c_str(),
                 HtmlEscape(FieldText(Settings.BeginDate)).c_str(), HtmlEscape(FieldText(Settings.EndDate)).c_str());
    out += "<hr width=\"100%\" size=\"2\"> \n"
           "<h3  align=\"center\"> <a href=\"crosstbl.html\"> Cross Table</a> </h3>\n"
           "<h3  align=\"center\"> <a href=\"tblscore.html\"> Ranking List</a> </h3>\n"
           "<h3  align=\"center\"> <a href=\"playercard.html\"> Player Card</a> </h3>\n"
           "<table cellpadding=\"2\" cellspacing=\"4\" border=\"0\" align=\"center\"> \n"
           "<tbody>\n"
           "<tr><th width=\"150\">Pairing</th> <th width=\"150\">Result</th>\n"
           "</tr>\n"
           "<tr>\n";
    // A list needs at least one item to be valid HTML, so before the first
    // pairing both cells stay empty.
    // No round past the game table can have been paired.
    const int lastRound = std::min(CurrentRound, ActiveTables().lastRound());
    const bool anyRound = lastRound >= 1;
    out += anyRound ? "<td> <ol>\n" : "<td> ";
    for (int r = 1; r <= lastRound; ++r) AppendFormat(out, "<li><a href=\"pairs%d.html\"> Round </a> </li>\n", r);
    out += anyRound ? "</ol> </td>\n<td> <ol>\n" : "</td>\n<td> ";
    for (int r = 1; r <= lastRound; ++r) {
        if (r == lastRound && r == CurrentRound && IsPairingDone)
            out += "<li> Round </li>\n";
        else
            AppendFormat(out, "<li><a href=\"result%d.html\"> Round </a> </li>\n", r);
    }
    out += anyRound ? "</ol> </td>\n" : "</td>\n";
    out += "</tr>\n</tbody>\n</table>\n";
    AppendHtmlFooter(out);
    AppendHtmlPageEnd(out);
    return WriteReportFile(DataFolderFile("index.html"), out);
}
