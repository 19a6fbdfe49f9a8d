#include "reports/player_cards.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "reports/writers_aside.h"
#include "tournament/players.h"
#include "tournament/rating.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/scores.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// One round of a card as the tables hold it.
struct CardRound {
    int round;
    int opponent;
    int code;    // PlayerResultCode
    bool played; // a game at the board
    int color;   // ColorHistory cell
    float difference;
    float expected;
};

std::vector<CardRound> CardRounds(int id, int rounds) {
    RoundTableSet& set = ActiveTables();
    const std::vector<ExpectedScoreRecord> records = ComputeExpectedScores(id, rounds);
    std::vector<CardRound> card;
    for (int round = 1; round < static_cast<int>(records.size()); ++round) {
        const int opponent = OpponentTable(set, id, round);
        const int code = PlayerResultTable(set, id, round);
        card.push_back(CardRound{round, opponent, code, PlayedAtBoard(opponent, code),
                                 ColorHistory(set, id, round),
                                 records[static_cast<std::size_t>(round)].difference,
                                 records[static_cast<std::size_t>(round)].expected});
    }
    return card;
}

// The rounds a card lists: 1..CurrentRound, within the active tables.
int CardRoundCount() {
    return std::clamp(CurrentRound, 0, ActiveTables().lastRound());
}

const char* ColorText(int color) {
    if (color == 1) return "W ";
    if (color == -1) return " B";
    return "  ";
}

// A stored value cut toward zero, kept to what a report column can show,
// so that no value, however corrupt, overflows the conversion.
int Truncated(float value) {
    if (std::isnan(value)) return 0;
    if (value < -99999.0f) return -99999;
    if (value > 99999.0f) return 99999;
    return static_cast<int>(value);
}

std::string Name(int id) {
    return FieldText(PlayerRecord(id).name);
}
std::string Title(int id) {
    return FieldText(PlayerRecord(id).title);
}
int Rating(int id) {
    return PlayerRecord(id).ratingUsed;
}

std::string PlayerLine(int id) {
    const Player& player = PlayerRecord(id);
    std::string line;
    AppendFormat(line, " %3d  %s %-20.20s, K=%2d, Elo=%4d, ID=%d\n", id, Title(id).c_str(), Name(id).c_str(),
                 player.k, player.ratingUsed, player.nationalId);
    return line;
}

// The end of a played round's row in either card: the opponent's rating,
// the rating difference ("%*d" at wholeWidth), the expected score ("%5.2f"),
// the points and the running score ("%4.1f") and the opponent's score
// ("%*.1f" at scoreWidth), each after sep, then end.
void AppendPlayedTail(std::string& out, const CardRound& r, float points, float running, const char* sep,
                      const char* end, int wholeWidth, int scoreWidth) {
    out += sep;
    AppendInt(out, Rating(r.opponent), wholeWidth);
    out += sep;
    AppendInt(out, Truncated(r.difference), wholeWidth);
    out += sep;
    AppendFixed(out, r.expected, 5, 2);
    out += sep;
    AppendFixed(out, points, 4, 1);
    out += sep;
    AppendFixed(out, running, 4, 1);
    out += sep;
    AppendFixed(out, ScoreRecord(r.opponent).score, scoreWidth, 1);
    out += end;
}

// The sums of one card.
struct CardTotals {
    float expected = 0.0f;
    long long ratings = 0;
    int games = 0;
    float running = 0.0f;
    float runningSum = 0.0f; // text card only
};

// The text card's points of a round and its running score. A win without
// play (also the BYE) shows the win points and counts the draw points, a
// half point without a game shows the draw points and counts nothing.
float TextRoundPoints(const CardRound& r, CardTotals& totals) {
    const float win = Settings.ScoreSystem.win;
    const float draw = Settings.ScoreSystem.draw;
    switch (r.code) {
    case WinAtBoard:
        totals.running += win;
        return win;
    case WinUnplayed:
        totals.running += draw;
        return win;
    case DrawAtBoard:
    case HalfUnplayed:
        totals.running += draw;
        return draw;
    case HalfNoGameCode:
        return draw;
    default:
        return 0.0f;
    }
}

// The tournament's heading that every text card repeats.
std::string TextCardHead() {
    std::string head;
    AppendFormat(head, "\n\n%s\n%s, %s,%s\n", FieldText(Settings.Name).c_str(), FieldText(Settings.Place).c_str(),
                 FieldText(Settings.BeginDate).c_str(), FieldText(Settings.EndDate).c_str());
    return head;
}

// One player's card: his rounds and his line are read once for the text
// and the page, the heading once a file.
struct Card {
    int id;
    std::vector<CardRound> rounds;
    std::string playerLine;
    Card(int player, int roundCount) : id(player), rounds(CardRounds(player, roundCount)), playerLine(PlayerLine(player)) {}
};

void AppendTextCard(std::string& out, const Card& card, const std::string& head, int performance) {
    const int id = card.id;
    out += head;
    out += card.playerLine;
    AppendRule(out, '-', 64);
    out += " r  Col ID Opponent             Rat  diff  exp.  res  Cum  Score\n";
    AppendRule(out, '-', 64);
    CardTotals totals;
    for (const CardRound& r : card.rounds) {
        const float points = TextRoundPoints(r, totals);
        totals.runningSum += totals.running;
        if (r.played) {
            totals.expected += r.expected;
            totals.ratings += Rating(r.opponent);
            ++totals.games;
            // "%2d  %2s %3d %-20.20s %4d %4d %5.2f %4.1f %4.1f %5.1f\n", a field at a time: every
            // card has a row for every round.
            AppendInt(out, r.round, 2);
            out += "  ";
            AppendText(out, ColorText(r.color), 2);
            out += ' ';
            AppendInt(out, r.opponent, 3);
            out += ' ';
            AppendText(out, PlayerRecord(r.opponent).name, 20, 20, true);
            AppendPlayedTail(out, r, points, totals.running, " ", "\n", 4, 5);
        } else {
            AppendFormat(out, "%2d  -- %3d %-20.20s %4d %4s %5s %4.1f %4.1f %5.1f\n", r.round, r.opponent,
                         "not played", Rating(r.opponent), " - ", " - ", points, totals.running, 0.0);
        }
    }
    const int aro = totals.games == 0 ? 0 : static_cast<int>(totals.ratings / totals.games);
    AppendRule(out, '-', 64);
    AppendFormat(out, "  var=%3d, PRat=%5d,     ARO=%4d,      %5.2f %4.1f %4.1f\n",
                 Truncated(ScoreRecord(id).ratingVariation), performance, aro, totals.expected,
                 ScoreRecord(id).score, totals.runningSum);
}

void AppendElovarLine(std::string& out, int id, int performance) {
    const Player& player = PlayerRecord(id);
    AppendFormat(out, " %3d  %-20.20s  %2d  %4d  %4d  %5d  %5d\n", id, Name(id).c_str(), player.k,
                 player.ratingUsed, Truncated(ScoreRecord(id).ratingVariation), performance,
                 performance - player.ratingUsed);
}

// The page counts a win 1 and a draw a half at the board whatever the
// points setting, and nothing without play; the points shown follow the
// setting at the board and are 1 or a half without play.
float HtmlRoundPoints(const CardRound& r, CardTotals& totals) {
    if (r.played) {
        if (r.code == WinAtBoard) {
            totals.running += 1.0f;
            return Settings.ScoreSystem.win;
        }
        if (r.code == DrawAtBoard) {
            totals.running += 0.5f;
            return Settings.ScoreSystem.draw;
        }
        return 0.0f;
    }
    switch (r.code) {
    case WinAtBoard:
    case WinUnplayed:
        return 1.0f;
    case DrawAtBoard:
    case HalfUnplayed:
    case HalfNoGameCode:
        return 0.5f;
    default:
        return 0.0f;
    }
}

// The name cut or padded to 20 before escaping, so no reference is cut.
std::string HtmlName(int id) {
    std::string name;
    AppendFormat(name, "%-20.20s", Name(id).c_str());
    return HtmlEscape(name);
}

// The texts of the players as the page's rows show them, made once a page.
struct HtmlPlayers {
    std::vector<std::string> titles, names;
    HtmlPlayers() = default;
    explicit HtmlPlayers(int count) {
        for (int id = 0; id <= count; ++id) {
            titles.push_back(HtmlEscape(Title(id)));
            names.push_back(HtmlName(id));
        }
    }
};

// The tournament's heading that every card of the page repeats, escaped.
std::string HtmlCardHead() {
    return HtmlEscape(FieldText(Settings.Name)) + " <br> " + HtmlEscape(FieldText(Settings.Place)) + ", " +
           HtmlEscape(FieldText(Settings.BeginDate)) + "," + HtmlEscape(FieldText(Settings.EndDate)) + "<br>\n";
}

void AppendHtmlCard(std::string& out, const Card& card, const std::string& head, const HtmlPlayers& players) {
    const int id = card.id;
    out += "\n<tr> <td>\n";
    // "\n\n <a name=\"%d\"></a> <H4>%s <br> %s, %s,%s<br>\n%s</H4>\n"
    out += "\n\n <a name=\"";
    AppendInt(out, id);
    out += "\"></a> <H4>";
    out += head;
    out += HtmlEscape(card.playerLine);
    out += "</H4>\n";
    out += "<table cellpadding=\"1\" cellspacing=\"1\" border=\"0\"> \n<tbody>\n<tr> "
           "<th>R</th> <th>C</th> <th>ID</th> <th width=\"165\">OPPONENT</th> <th>Rat</th>  <th>diff</th> "
           "<th>exp.</th> <th>res</th> <th>Cum</th> <th>Score</th>\n</tr> \n";
    CardTotals totals;
    float ratings = 0.0f;
    for (const CardRound& r : card.rounds) {
        const float points = HtmlRoundPoints(r, totals);
        out += "<tr> ";
        if (r.played) {
            totals.expected += r.expected;
            ratings += static_cast<float>(Rating(r.opponent));
            ++totals.games;
            // "<td>%d</td> <td>%s</td> <td>%d</td> <td> <a href=\"playercard.html#%d\"> %s %s </a> </td> "
            // "<td>%d</td> <td>%d</td> <td>%5.2f</td> <td>%4.1f</td> <td>%4.1f</td> <td>%4.1f</td>\n",
            // a field at a time: every card has a row for every round.
            const bool known = r.opponent >= 0 && r.opponent < static_cast<int>(players.names.size());
            out += "<td>";
            AppendInt(out, r.round);
            out += "</td> <td>";
            out += ColorText(r.color);
            out += "</td> <td>";
            AppendInt(out, r.opponent);
            out += "</td> <td> <a href=\"playercard.html#";
            AppendInt(out, r.opponent);
            out += "\"> ";
            out += known ? players.titles[static_cast<std::size_t>(r.opponent)] : HtmlEscape(Title(r.opponent));
            out += ' ';
            out += known ? players.names[static_cast<std::size_t>(r.opponent)] : HtmlName(r.opponent);
            out += " </a> ";
            AppendPlayedTail(out, r, points, totals.running, "</td> <td>", "</td>\n", 0, 4);
        } else {
            AppendFormat(out,
                         "<td>%d</td> <td>--</td> <td>%d</td> <td>not played</td> <td>%d</td> <td>--</td> "
                         "<td>--</td> <td>%4.1f</td> <td>%4.1f</td> <td>%4.1f</td>\n",
                         r.round, r.opponent, Rating(r.opponent), points, totals.running, 0.0);
        }
        out += "</tr> \n";
    }
    const float aro = totals.games == 0 ? 0.0f : ratings / static_cast<float>(totals.games);
    AppendFormat(
        out,
        "<tr> <td></td> <td></td>  <td></td> <td> <b>var = %3d, PRat=%4d </b></td> <td><b>%.1f</b></td> "
        "<td></td> <td><b>%5.2f</b></td> <td><b>%4.1f</b></td> <td><b>%4.1f</b></td>\n</tr> \n",
        Truncated(ScoreRecord(id).ratingVariation), ShownPerformance(id), aro, totals.expected,
        ScoreRecord(id).score, totals.running);
    // The cell closes before its row.
    out += "</tbody>\n</table>\n\n</td> </tr>\n";
}

// The standard head with the smaller cell font the cards need.
void AppendCardsHead(std::string& out) {
    std::string head;
    AppendHtmlHead(head, FieldText(Settings.Name));
    const std::string standard = "td {  font-size: x-medium;";
    const std::size_t at = head.find(standard);
    if (at != std::string::npos) head.replace(at, standard.size(), "td {  font-size: x-small;");
    out += head;
}

// The page around its cards; a table without rows is no table: with no
// player there is none.
void AppendCardsPageStart(std::string& page, int count) {
    AppendCardsHead(page);
    AppendHtmlNavigation(page);
    page += "<h2>National Player Cards</h2>\n";
    if (count > 0) page += "<table cellpadding=\"4\" cellspacing=\"2\" border=\"1\"> \n<tbody>\n";
}
void AppendCardsPageEnd(std::string& page, int count) {
    if (count > 0) page += "</tbody>\n</table>\n";
    AppendHtmlNavigation(page);
    AppendHtmlFooter(page);
    AppendHtmlPageEnd(page);
}

HtmlPlayers PagePlayers(int count) {
    return count > 0 ? HtmlPlayers(count) : HtmlPlayers();
}

// The text cards and "elovar.txt" from the performances stored for them.
bool WriteTextCards(int count, int rounds, const std::vector<int>& performances) {
    std::string elovar;
    AppendReportHeading(elovar);
    AppendFormat(elovar, "\nRating variation at round %d\n\n", rounds);
    elovar += "  ID  NAME                  K   Elo    Nvar  PRat    +/-\n";
    AppendRule(elovar, '-', 57);
    // The cards run to megabytes: they go to their file as they are made.
    ReportStream cards(DataFolderFile("playercd.txt"));
    const std::string head = TextCardHead();
    for (int id = 1; id <= count; ++id) {
        const int performance = performances[static_cast<std::size_t>(id)];
        AppendTextCard(cards.text(), Card(id, rounds), head, performance);
        AppendElovarLine(elovar, id, performance);
        cards.pass();
    }
    bool ok = cards.commit();
    ok = WriteReportFile(DataFolderFile("elovar.txt"), elovar) && ok;
    return ok;
}

} // namespace

void StartPlayerCards(int players) {
    const int count = ReportPlayerCount(players);
    const int rounds = CardRoundCount();
    std::vector<int> performances(static_cast<std::size_t>(count) + 1, 0);
    for (int id = 1; id <= count; ++id) {
        performances[static_cast<std::size_t>(id)] = PerformanceRating(id, rounds);
        PlayerScores[id].performance = static_cast<float>(performances[static_cast<std::size_t>(id)]);
    }
    WriteAside([count, rounds, performances = std::move(performances)] {
        return WriteTextCards(count, rounds, performances);
    });
    WriteAside([players] { return WritePlayerCardsHtml(players); });
}

bool WritePlayerCards(int players) {
    StartPlayerCards(players);
    return AwaitWritersAside();
}

bool WritePlayerCardsHtml(int players) {
    const int count = ReportPlayerCount(players);
    const int rounds = CardRoundCount();
    ReportStream page(DataFolderFile("playercard.html"));
    AppendCardsPageStart(page.text(), count);
    const HtmlPlayers pagePlayers = PagePlayers(count);
    const std::string head = HtmlCardHead();
    for (int id = 1; id <= count; ++id) {
        AppendHtmlCard(page.text(), Card(id, rounds), head, pagePlayers);
        page.pass();
    }
    AppendCardsPageEnd(page.text(), count);
    return page.commit();
}
