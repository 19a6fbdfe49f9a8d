// Forms by keyboard through the X server, a field after the other with Tab
// as a user does: a player typed into the player form, the Birthday's
// "00.00.00" typed over, and added with Enter on the focused add button;
// the USCF section dialog of the round robin left by its event, and the
// header form of uscfreport over that section, their presets typed over,
// and the files they write compared.
#include "event_on_x.h"

#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "uscfreport/header_form.h"
#include "uscfreport/report_window.h"
#include "uscfreport/section_list.h"

#include <fstream>
#include <map>
#include <set>

namespace xev {
namespace {

class KeysOnX : public EventOnX {
  protected:
    // From the field first clicked, Tab after Tab until the focus comes back
    // to it: each field of the table that takes the focus gets its text
    // typed whole, the clicked one last, when Tab brings the focus back.
    void TypeAround(WkObject* window, WkObject* const* fields, int count, const std::map<int, std::string>& texts,
                    int first) {
        Click(fields[first]);
        std::set<int> typed;
        for (int tabs = 0; tabs < 40; ++tabs) {
            Key("Tab");
            WkObject* focused = WkFormGetFocus(window);
            int index = 0;
            while (index < count && fields[index] != focused) ++index;
            const auto text = texts.find(index);
            if (text != texts.end()) {
                Xdo("type --delay 5 '" + text->second + "'");
                EXPECT_STREQ(WkEditGetText(fields[index]), text->second.c_str()) << "field " << index << " typed";
                typed.insert(index);
            }
            if (focused == fields[first]) break;
        }
        for (const auto& [index, text] : texts)
            EXPECT_TRUE(typed.count(index)) << "field " << index << " never had the focus by Tab";
    }

    // The copy of the round robin that the section is typed for.
    static std::string Section() { return EventFolder("robin-keys"); }
};

// The section dialog's texts typed, by field; the others keep their presets
// (drop-downs and the tournament's numbers).
const std::map<int, std::string> kSectionTexts = {
    {0, "Open A"}, {3, "Game/90"}, {4, "12345678"}, {5, "87654321"}, {9, "20260601"}, {10, "20260602"}, {13, "12"},
};
// The header form's texts typed, by field; 2 (the number of sections) and
// 10 (a drop-down) keep theirs.
const std::map<int, std::string> kHeaderTexts = {
    {0, "202606020001"}, {1, "Open Event"}, {3, "20260601"}, {4, "20260602"}, {5, "12345"},        {6, "Pisa"},
    {7, "CA"},           {8, "56100"},      {9, "Italy"},    {11, "11223344"}, {12, "44332211"},
};

std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find('\n', at);
        lines.push_back(bytes.substr(at, end == std::string::npos ? end : end + 1 - at));
        at = end == std::string::npos ? bytes.size() : end + 1;
    }
    return lines;
}

TEST_F(KeysOnX, TypesAPlayerWithTabAndAddsHim) {
    StartTourman("keys");
    Click(PlayersPage.name);
    // Name, country, birthday; gender and title passed over; FIDE id and rating.
    const char* steps[] = {"ROSSI MARIO", "ita", "12.03.85", nullptr, nullptr, "12345678", "2400"};
    for (const char* text : steps) {
        if (text) Xdo(std::string("type --delay 5 '") + text + "'");
        Key("Tab");
    }
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.nationalId);
    Png(MainWindow.window, "keys-player-typed.png");
    Key("Tab Tab Tab Tab"); // national rating, K, available, add
    ASSERT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.addButton);
    Key("Return");
    WaitFor("the player added to the list", [] { return WkListGetCount(PlayersPage.playerList) == 1; },
            [] { return std::to_string(WkListGetCount(PlayersPage.playerList)) + " players listed"; });
    ASSERT_EQ(WkListGetCount(PlayersPage.playerList), 1);
    EXPECT_EQ(std::string(WkListGetItem(PlayersPage.playerList, 0)->text),
              "ROSSI MARIO                2400     0   NC  ITA  1   12.03.85   12345678         0  30  m");
    EXPECT_EQ(PlayerCount, 1);
    // The form is cleared for the next player, with the focus on Name.
    EXPECT_STREQ(WkEditGetText(PlayersPage.birthday), "00.00.00");
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.name);
    Png(MainWindow.window, "keys-player-added.png");
}

TEST_F(KeysOnX, TypesAUscfSectionWithTab) {
    StartTourman("keys-section");
    const std::string left = EventFolder("robin");
    fs::remove_all(Section());
    fs::copy(left, Section(), fs::copy_options::recursive);
    browse_ = Section() + "robin.qon";
    WkAddTimeout(100, Browse, this);
    PickMenu({"File", MessageText(MsgOpenTournament)});
    ASSERT_EQ(browse_, "") << "no file browser";
    PickMenu({"Extras", MessageText(MsgNationalReportsMenu), "USCF (USA)"});
    ASSERT_NE(UscfSection.window, nullptr) << unexpected;
    TypeAround(UscfSection.window, UscfSection.fields, UscfFieldCount, kSectionTexts, 0);
    Click(UscfSection.doneButton);
    ASSERT_EQ(UscfSection.window, nullptr) << unexpected;

    // The players' lines as the event's own section file has them.
    std::vector<std::string> players = LinesOf(Bytes(left + UscfSectionFileName));
    ASSERT_EQ(players.size(), 9u) << left << UscfSectionFileName;
    players.erase(players.begin(), players.begin() + 3);
    std::string expected = "20260601  20260602  6\r\n"
                           "Open A\tR\tF\tGame/90\t12345678\t87654321\tR\t5\t6\t20260601\t20260602\tN\tN\t12\t\r\n"
                           "\r\n";
    for (const std::string& line : players) expected += line;
    EXPECT_EQ(Bytes(Section() + UscfSectionFileName), expected);
}

TEST_F(KeysOnX, TypesAUscfHeaderWithTab) {
    StartUscfReport("keys-header");
    std::ofstream(program + "template.txt", std::ios::binary) << " 1 # number of sections\r\n" << Section() << "\r\n";
    PickMenu({"File", "Open"}, ReportWindow.menuBar);
    ASSERT_EQ(SectionCount, 1) << unexpected;
    Click(ReportWindow.reportButton);
    ASSERT_NE(HeaderForm.window, nullptr) << unexpected;
    TypeAround(HeaderForm.window, HeaderForm.fields, kHeaderFields, kHeaderTexts, 1);
    Click(HeaderForm.doneButton);
    ASSERT_EQ(HeaderForm.window, nullptr) << unexpected;

    EXPECT_EQ(Bytes(program + "thexport.txt"), "B\t202606020001\tOpen Event\t1\t20260601\t20260602\t12345\tPisa\tCA\t"
                                                "56100\tItaly\tT\t11223344\t44332211\t\r\n");
    // The section's lines behind the Event ID and its number 1.
    const std::vector<std::string> section = LinesOf(Bytes(Section() + UscfSectionFileName));
    ASSERT_EQ(section.size(), 9u) << Section() << UscfSectionFileName;
    EXPECT_EQ(Bytes(program + "tsexport.txt"), "202606020001\t1\t" + section[1]);
    std::string details;
    for (std::size_t i = 3; i < section.size(); ++i) details += "202606020001\t1\t" + section[i];
    EXPECT_EQ(Bytes(program + "tdexport.txt"), details);
}

} // namespace
} // namespace xev
