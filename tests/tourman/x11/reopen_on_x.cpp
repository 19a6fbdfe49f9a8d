// The two events after they were carried: reopened by a fresh run of
// tourman (on copies of their data folders, so the events' own files stay as
// they were left) to the same state and the same standings byte for byte,
// and reported by uscfreport, which adds both folders, keeps them in its
// template and writes the three USCF exports.
#include "event_on_x.h"

#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/tree.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "uscfreport/header_form.h"
#include "uscfreport/report_window.h"
#include "uscfreport/section_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace xev {
namespace {

struct Event {
    const char* base;
    int players, rounds;
};
const Event kEvents[] = {{"robin", 6, 5}, {"swiss", 30, 7}};

// What is written again from the reopened state: by the open itself (the
// standings and the reports that go with them), by the Extras reports on
// the players, by the save ("%s" is the base name).
struct Rewritten {
    const char* file;
    const char* menu = nullptr;  // the bar title; none: the open writes it
    std::vector<int> items = {}; // the item path's messages
    const char* confirmation = "";
};
const Rewritten kRewritten[] = {
    {"tblscore.txt"},
    {"tblscore.html"},
    {"crosstbl.txt"},
    {"crosstbl.html"},
    {"rankcat.txt"},
    {"playercd.txt"},
    {"playname.txt", "Extras", {MsgPlayerListsMenu, MsgListByName}, "OK file PLAYNAME.TXT"},
    {"playrat.txt", "Extras", {MsgPlayerListsMenu, MsgListByRating}, "OK file PLAYRAT.TXT"},
    {"tourstat.txt", "Extras", {MsgTournamentStatistics}, "OK file TOURSTAT.TXT"},
    {"%s.rnd", "File", {MsgSave}},
};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

using ReopenOnX = EventOnX;

class UscfReportOnX : public EventOnX {
  protected:
    // The events' folder opened in the folder tree, the tree scrolled to
    // it as the user would, its box and then the event's folder clicked.
    void AddSection(const std::string& base) {
        WkObject* tree = ReportWindow.dirTree;
        WkDirTreeSetPath(tree, EventFolder("").c_str(), 1);
        WkTreeNode* data = WkTreeGetSelected(tree);
        ASSERT_NE(data, nullptr);
        if (!(data->state & WK_TREE_EXPANDED)) {
            WkObjectScrollIntoView(data->expanderArea);
            Click(data->expanderArea);
        }
        WkTreeNode* node = WkTreeGetFirstChild(data);
        while (node && WkEditGetText(node->label) != base)
            node = node->next;
        ASSERT_NE(node, nullptr) << base;
        WkObjectScrollIntoView(node->label);
        Click(node->label);
        // The tree reports a click once the double-click time is over.
        ASSERT_TRUE(WaitFor("the folder tree to choose " + EventFolder(base),
                            [&] { return WkDirTreeGetPath(tree) + std::string("/") == EventFolder(base); },
                            [&] { return std::string(WkDirTreeGetPath(tree)); }));
        Click(ReportWindow.addButton);
    }
};

TEST_F(ReopenOnX, BothEventsAsTheyWereLeft) {
    StartTourman("reopen-run");
    for (const Event& e : kEvents) {
        const std::string left = EventFolder(e.base), copy = EventFolder(e.base + std::string("-reopened"));
        fs::remove_all(copy);
        fs::copy(left, copy, fs::copy_options::recursive);
        const auto name = [&](const Rewritten& r) {
            std::string file = r.file;
            return file.starts_with("%s") ? e.base + file.substr(2) : file;
        };
        for (const Rewritten& r : kRewritten)
            if (!r.menu) fs::remove(copy + name(r));
        if (&e != kEvents) Answer(MsgLeaveOpenTournament, 1); // the first tournament is left
        browse_ = copy + e.base + ".qon";
        WkAddTimeout(100, Browse, this);
        PickMenu({"File", MessageText(MsgOpenTournament)});
        ASSERT_EQ(browse_, "") << e.base << ": no file browser";
        ASSERT_EQ(std::string(Settings.DataFolder), copy) << unexpected;
        EXPECT_TRUE(PlayerCount == e.players && CurrentRound == e.rounds && ClosedRegistration == 1 &&
                    IsGetResultDone == 1)
            << e.base << ": " << PlayerCount << " players, round " << CurrentRound;
        for (const Rewritten& r : kRewritten) {
            const std::string file = name(r);
            if (r.menu) {
                fs::remove(copy + file);
                std::vector<std::string> labels{r.menu};
                for (int item : r.items)
                    labels.push_back(MessageText(item));
                if (*r.confirmation) AnswerText(r.confirmation, 0);
                PickMenu(labels);
            }
            const std::string was = Bytes(left + file);
            EXPECT_FALSE(was.empty()) << left << file << " is missing";
            EXPECT_EQ(Bytes(copy + file), was) << e.base << ": " << file << " written again" << unexpected;
        }
        Png(MainWindow.window, std::string(e.base) + "-reopened.png");
    }
}

TEST_F(UscfReportOnX, BothEventsExported) {
    StartUscfReport("uscf-run");
    for (const char* base : {"swiss", "robin"})
        AddSection(base); // sections 1 and 2
    ASSERT_EQ(SectionCount, 2) << unexpected;
    PickMenu({"File", "Save"}, ReportWindow.menuBar);
    EXPECT_EQ(Bytes(program + "template.txt"),
              " 2 # number of sections\r\n" + EventFolder("swiss") + "\r\n" + EventFolder("robin") + "\r\n");
    // The tree (its view and bars) and the list show the build's own folders: left out.
    Png(ReportWindow.window, "uscfreport-sections.png",
        {WkTreeGetVerticalScrollBar(ReportWindow.dirTree)->parent, SectionList,
         WkListGetVerticalScrollBar(SectionList), WkListGetHorizontalScrollBar(SectionList)});
    Click(ReportWindow.reportButton);
    ASSERT_NE(HeaderForm.window, nullptr) << unexpected;
    const std::pair<int, const char*> typed[] = {{1, "Club Event"}, {5, "4455"},      {7, "PI"},        {8, "56100"},
                                                 {9, "Italy"},      {11, "12345678"}, {12, "87654321"}};
    for (auto [field, text] : typed)
        Fill(HeaderForm.fields[field], text);
    Png(HeaderForm.window, "uscfreport-header.png");
    std::vector<std::string> fields;
    for (WkObject* field : HeaderForm.fields)
        fields.push_back(WkEditGetText(field));
    Click(HeaderForm.doneButton);
    EXPECT_EQ(HeaderForm.window, nullptr) << unexpected;

    // Each export as the sections give it: the header line from the fields,
    // which start from the sections' dates; each section's line and player
    // lines behind the Event ID and the section's number.
    std::string header = "B\t", sections, details, begin = "99999999", end = "00000000";
    for (const std::string& field : fields)
        header += field + "\t";
    int k = 0;
    for (const Event* e : {&kEvents[1], &kEvents[0]}) {
        const std::vector<std::string> lines = Lines(Bytes(EventFolder(e->base) + "uscfsctn.txt"));
        char first[16] = {}, last[16] = {};
        int players = 0;
        ASSERT_TRUE(lines.size() > 2 &&
                    std::sscanf(lines[0].c_str(), "%15s %15s %d", first, last, &players) == 3)
            << e->base << "/uscfsctn.txt";
        EXPECT_TRUE(players == e->players && lines.size() == std::size_t(players) + 3)
            << e->base << "/uscfsctn.txt";
        if (std::atoll(first) < std::atoll(begin.c_str())) begin = first; // dates compare as numbers
        if (std::atoll(last) > std::atoll(end.c_str())) end = last;
        const std::string prefix = fields[0] + "\t" + std::to_string(++k) + "\t";
        sections += prefix + lines[1];
        for (std::size_t i = 3; i < lines.size(); ++i)
            details += prefix + lines[i];
    }
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.begin() + 5),
              (std::vector<std::string>{end + "0000", "Club Event", "2", begin, end}));
    EXPECT_EQ(Bytes(program + "thexport.txt"), header + "\r\n");
    EXPECT_EQ(Bytes(program + "tsexport.txt"), sections);
    EXPECT_EQ(Bytes(program + "tdexport.txt"), details);
    const std::vector<std::string> detail = Lines(Bytes(program + "tdexport.txt"));
    EXPECT_EQ(detail.size(), 36u);
    EXPECT_EQ(std::count_if(detail.begin(), detail.end(),
                            [&](const std::string& line) { return line.starts_with(fields[0] + "\t1\t"); }),
              30);
    for (const char* file : {"template.txt", "thexport.txt", "tsexport.txt", "tdexport.txt"})
        for (const std::string& line : Lines(Bytes(program + file)))
            EXPECT_TRUE(line.ends_with("\r\n") && line.find('\r') == line.size() - 2) << file << ": " << line;
}

} // namespace
} // namespace xev
