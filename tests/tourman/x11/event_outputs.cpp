// The finished event's outputs, through the program on the server: the USCF
// section file written through its dialog and its cells checked against
// the cross table; every Extras report; every button of the output page
// (the file browser and the print dialog filled as they open, printing into
// a PDF file); then every file the event should have left, with CR LF line
// ends and "½" as the one byte 0xBD.
#include "event_on_x.h"

#include "support/widget_input.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/group_dialogs.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/output/output_widgets.h"
#include "tournament/message_table.h"
#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>

namespace xev {

namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(" \r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

std::vector<std::string> Split(const std::string& line, char at) {
    std::vector<std::string> parts;
    std::istringstream in(line);
    for (std::string part; std::getline(in, part, at);)
        parts.push_back(part);
    return parts;
}

// A cross table's rows by their first number (the id in a Swiss, the
// position in a round robin): the name and the cells after the bar, each
// width characters wide.
struct CrossRow {
    std::string name;
    std::vector<std::string> cells;
};
std::map<int, CrossRow> CrossRows(const std::string& bytes, std::size_t width) {
    std::map<int, CrossRow> rows;
    for (const std::string& line : Lines(bytes)) {
        const std::size_t bar = line.find(" | ");
        const int number = std::atoi(line.c_str());
        if (bar == std::string::npos || number <= 0) continue;
        CrossRow& row = rows[number];
        row.name = Trim(line.substr(4, 17));
        for (std::size_t at = bar + 3; at < line.size(); at += width)
            row.cells.push_back(line.substr(at, width));
    }
    return rows;
}

// The section cell of a Swiss cross-table cell ("+W12  ", "-BYE  ", " --   ").
// The cross table shows a forfeit as a BYE: its cell is only the letter.
std::string SwissCell(const std::string& cross) {
    if (cross.compare(0, 3, " --") == 0) return "U0";
    const std::size_t sign = std::string("+-=").find(cross[0]);
    if (sign == std::string::npos) return "?" + cross;
    if (cross.compare(1, 3, "BYE") == 0) return std::string(1, "XFZ"[sign]);
    return std::string(1, "WLD"[sign]) + std::to_string(std::atoi(cross.c_str() + 2));
}

std::string Caption(WkObject* o) {
    const char* text = WkButtonRecord(o)->text;
    return text ? text : "";
}

std::string ViewerTitle() {
    return Trim(WkLabelGetText(WkListRecord(OutputPage.fileViewer)->titleLabel));
}

std::vector<WkObject*> Windows() {
    WkObject* const* shells = nullptr;
    const int count = WkLiveShells(&shells);
    return {shells, shells + count};
}

// Every file the finished event should have left in its data folder: "%s"
// stands for the base name, "%d" for each round from the first given; 'r'
// only in a round robin, 's' only in a Swiss; '½' where a drawn game shows
// as the byte 0xBD.
struct NamedFile {
    const char* pattern;
    char mark = 0;
    int firstRound = 1;
};
// clang-format off
const NamedFile kNamedFiles[] = {
    {"%s.qon"}, {"%s.bak"}, {"%s.elo"}, {"%s.rnd"}, {"%s%d.rnd"}, {"pairs%d.txt"}, {"pairs%d.html"},
    {"pairing%d.txt"}, {"pairs%d.man", 's'}, {"scgr%d-0.txt", 's', 2}, {"result%d.txt", '\xBD'},
    {"result%d.html", '\xBD'}, {"pairsRR.txt", 'r'}, {"crosstbl.txt", '\xBD'}, {"crosstbl.html", '\xBD'},
    {"index.html"}, {"tblscore.txt"}, {"tblscore.html"}, {"rankcat.txt"}, {"tourstat.txt"}, {"rankgrp.txt"},
    {"rankdagr.txt"}, {"boardcrd.txt"}, {"playercd.txt"}, {"elovar.txt"}, {"playercard.html"}, {"eloprev.txt"},
    {"playname.txt"}, {"playrat.txt"}, {"fideelo.txt"}, {"fidecros.txt"}, {"fidecard.txt"}, {"uscfsctn.txt"},
};
// clang-format on

} // namespace

void EventOnX::PickMenu(const std::vector<std::string>& labels, WkObject* bar) {
    if (!bar) bar = MainWindow.menuBar;
    const WkMenuBarData* d = WkMenuBarRecord(bar);
    WkObject* menu = nullptr;
    for (int i = 0; i < d->count && !menu; ++i) {
        const WkMenuBarEntry& title = d->titles[i];
        if (Trim(title.label) != labels[0]) continue;
        menu = title.menu;
        Reachable(bar);
        Xdo("mousemove " +
            At(bar, WkObjectBorder(bar) + title.x + title.width / 2, bar->height / 2) +
            " click 1");
    }
    bool held = false;
    for (std::size_t k = 1; k < labels.size(); ++k) {
        ASSERT_NE(menu, nullptr) << labels[k - 1];
        const WkMenuData* m = WkMenuRecord(menu);
        WkMenuItem* item = nullptr;
        for (int i = 0; i < m->count && !item; ++i)
            if (m->items[i]->label && labels[k] == m->items[i]->label) item = m->items[i];
        ASSERT_NE(item, nullptr) << labels[k];
        const int y = WkObjectBorder(menu) + 2 + item->offset + item->extent / 2;
        // A submenu opens at the press and stays while the button is held:
        // its item is chosen where the button is let go.
        const char* action = item->submenu ? " mousedown 1" : held ? " mouseup 1" : " click 1";
        Reachable(menu);
        Xdo("mousemove " + At(menu, menu->width / 2, y) + action);
        held = item->submenu != nullptr;
        menu = item->submenu;
    }
}

void EventOnX::SectionFile() {
    PickMenu({"Extras", MessageText(MsgNationalReportsMenu), "USCF (USA)"});
    ASSERT_NE(UscfSection.window, nullptr) << unexpected;
    Fill(UscfSection.fields[4], "12345678");
    Fill(UscfSection.fields[5], "87654321");
    Fill(UscfSection.fields[9], "20260501");
    Fill(UscfSection.fields[10], "20260503");
    Png(UscfSection.window, base_ + "-section.png");
    Click(UscfSection.doneButton);
    EXPECT_EQ(UscfSection.window, nullptr) << unexpected;
    CheckSectionCells();
}

// Each player line of the section file against the cross table: the same
// name, and a cell for each game as the cross table shows it (a Swiss row
// round by round, a round robin's square by opponent).
void EventOnX::CheckSectionCells() {
    const std::string file = Data() + UscfSectionFileName;
    const std::vector<std::string> lines = Lines(Bytes(file));
    ASSERT_EQ(lines.size(), std::size_t(PlayerCount + 3)) << file;
    EXPECT_EQ(lines[0], "20260501  20260503  " + std::to_string(PlayerCount)) << file;
    EXPECT_EQ(Split(lines[1], '\t').size(), std::size_t(UscfFieldCount)) << file;
    const bool robin = IsRoundRobin();
    const std::map<int, CrossRow> cross = CrossRows(Bytes(Data() + "crosstbl.txt"), robin ? 4 : 6);
    ASSERT_EQ(cross.size(), std::size_t(PlayerCount)) << Data() << "crosstbl.txt";
    std::map<std::string, int> position; // a round robin's rows by name
    for (const auto& [number, row] : cross)
        position[row.name] = number;
    std::map<int, std::string> names;
    for (int line = 3; line < int(lines.size()); ++line)
        names[line - 2] = Trim(Split(lines[line], '\t').at(2).substr(0, 17));
    for (int id = 1; id <= PlayerCount; ++id) {
        const std::vector<std::string> parts = Split(lines[std::size_t(id + 2)], '\t');
        const CrossRow& row = robin ? cross.at(position[names[id]]) : cross.at(id);
        const std::string where = file + " against crosstbl.txt, player " + std::to_string(id);
        ASSERT_EQ(row.name, names[id]) << where;
        ASSERT_EQ(parts.size(), std::size_t(5 + CurrentRound)) << where;
        for (int round = 1; round <= CurrentRound; ++round) {
            const std::string& cell = parts[std::size_t(4 + round)];
            if (!robin) {
                const std::string expected = SwissCell(row.cells.at(std::size_t(round - 1)));
                EXPECT_EQ(expected.size() == 1 ? cell.substr(0, 1) : cell, expected)
                    << where << ", round " << round;
                continue;
            }
            const int column = position[names[std::atoi(cell.c_str() + 1)]];
            const char shown = row.cells.at(std::size_t(column - 1)).at(1);
            const bool forfeit = PlayerResultTable(id, round) >= WinUnplayed; // shown as the game's point
            EXPECT_EQ(cell[0], shown == '1'      ? (forfeit ? 'X' : 'W')
                               : shown == '0'    ? (forfeit ? 'F' : 'L')
                               : shown == '\xBD' ? 'D'
                                                 : '?')
                << where << ", round " << round;
        }
    }
}

// The file browser chooses the standings of the data folder; the print
// dialog prints into "print.pdf" of the program folder.
void EventOnX::FillDialog(int, void* data) {
    auto* self = static_cast<EventOnX*>(data);
    self->fillTimeout_ = WkAddTimeout(100, FillDialog, self);
    const WkNativeWindow modal = WkGetModalWindow();
    WkObject* shell = modal ? WkListedShell(modal) : nullptr;
    if (!shell) return;
    // Filled and clicked once; a dialog that stays is filled again after a minute.
    if (modal == self->filled_) {
        if (std::chrono::steady_clock::now() - self->filledAt_ < std::chrono::milliseconds(xwait::kCeilingMs)) return;
        ADD_FAILURE() << "a dialog stays " << xwait::kCeilingMs / 1000 << " s after its OK was clicked";
    }
    // A click before the window manager maps it is lost.
    if (!self->Mapped(shell)) return;
    self->filled_ = modal;
    self->filledAt_ = std::chrono::steady_clock::now();
    WkObject* ok = nullptr;
    if (shell && shell == WkFileBrowserParts().shell) {
        self->ChooseInBrowser(self->Data() + "tblscore.txt");
    } else if (shell) {
        bool print = false;
        for (WkObject* o : tmt::WidgetsUnder(shell))
            if (o->classCode == WK_CLASS_TOGGLE && Caption(o) == "PDF file") print = true;
        for (WkObject* o : print ? tmt::WidgetsUnder(shell) : std::vector<WkObject*>()) {
            if (o->classCode == WK_CLASS_TOGGLE && Caption(o) == "PDF file") WkToggleSetState(o, 1);
            if (o->classCode == WK_CLASS_EDIT)
                WkEditReplaceText(o, (self->program + "print.pdf").c_str(), 0, 0);
            if (o->classCode == WK_CLASS_PUSH_BUTTON && Caption(o) == "OK") ok = o;
        }
    }
    if (ok) self->Xdo("mousemove " + self->At(ok) + " click 1", false);
}

void EventOnX::ExtrasReports() {
    const std::string fide = "OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT";
    const std::pair<std::vector<std::string>, std::string> reports[] = {
        {{MessageText(MsgFideReportMenu), MessageText(MsgFideFilesByStandings)}, fide},
        {{MessageText(MsgFideReportMenu), MessageText(MsgFideFilesByRating)}, fide},
        {{MessageText(MsgNationalReportsMenu), "FSI (Italy)"}, "OK file report *.ELO"},
        {{MessageText(MsgPlayerListsMenu), MessageText(MsgListByName)}, "OK file PLAYNAME.TXT"},
        {{MessageText(MsgPlayerListsMenu), MessageText(MsgListByRating)}, "OK file PLAYRAT.TXT"},
        {{"Backup *.qon file"}, "OK backup file *.QON (extension *.BAK)"},
        {{MessageText(MsgTournamentStatistics)}, "OK file TOURSTAT.TXT"},
        {{MessageText(MsgToolsMenu), MessageText(MsgRoundRobinTableItem)},
         IsRoundRobin() ? MessageText(MsgRoundRobinTableWritten) : "Option not available for swiss system"},
    };
    for (const auto& [path, confirmation] : reports) {
        AnswerText(confirmation, 0);
        std::vector<std::string> labels{"Extras"};
        labels.insert(labels.end(), path.begin(), path.end());
        PickMenu(labels);
        EXPECT_TRUE(answers.empty()) << path.back() << ": no \"" << confirmation << "\"\n" << unexpected;
        answers.clear();
    }
    // Five rating groups and five birth-date groups (day x 10000 + month x 100 + year).
    const std::pair<int, std::vector<int>> groups[] = {
        {MsgRatingGroupsItem, {0, 1999, 1999, 2100, 2100, 2200, 2200, 2300, 2300, 3000}},
        {MsgBirthDateGroupsItem, {0, 10100, 10100, 311250, 311250, 311270, 311270, 311290, 311290, 311299}},
    };
    for (const auto& [message, limits] : groups) {
        PickMenu({"Extras", MessageText(message)});
        ASSERT_NE(GroupDialog.window, nullptr) << MessageText(message) << unexpected;
        for (int i = 0; i < 10; ++i)
            WkEditReplaceText(GroupDialog.fields[i / 2][i % 2],
                              std::to_string(limits[std::size_t(i)]).c_str(), 0, 0);
        AnswerText(message == 60 ? "OK file RANKGRP.TXT" : "OK file RANKDAGR.TXT", 0);
        for (WkObject* o : tmt::WidgetsUnder(GroupDialog.window))
            if (o->classCode == WK_CLASS_PUSH_BUTTON && Caption(o) == MessageText(MsgOk)) {
                Click(o);
                break;
            }
        EXPECT_EQ(GroupDialog.window, nullptr) << MessageText(message);
    }
}

// Each button in the page's order: the file the viewer then shows (the
// browser chooses the standings), the print button prints it into a PDF
// file, the window button opens it in a window of its own.
void EventOnX::OutputButtons() {
    WkFormSetPage(MainWindow.notebook, 3);
    Settle();
    const std::string round = std::to_string(CurrentRound), pdf = program + "print.pdf";
    const std::string shows[] = {IsRoundRobin() ? "" : "scgr" + round + "-0.txt",
                                 "crosstbl.txt",
                                 "tblscore.txt",
                                 "rankcat.txt",
                                 "boardcrd.txt",
                                 "fidecros.txt",
                                 "playercd.txt",
                                 "pairs" + round + ".txt",
                                 "result" + round + ".txt",
                                 "playname.txt",
                                 "playrat.txt",
                                 "fidecard.txt",
                                 "tblscore.txt",
                                 "elovar.txt",
                                 base_ + ".qon",
                                 "print",
                                 "window",
                                 "fideelo.txt"};
    const WkFormPage* buttons = WkFormCurrentPage(OutputPage.outputButtons);
    ASSERT_EQ(buttons->count, 18);
    fs::remove(pdf);
    fillTimeout_ = WkAddTimeout(100, FillDialog, this);
    for (int i = 0; i < 18; ++i) {
        const std::string& file = shows[i];
        if (file.empty()) Answer(MsgNotInRoundRobin, 0);
        const std::size_t windows = Windows().size();
        Click(buttons->children[i]);
        if (file == "print")
            WaitFor("the print into " + pdf, [&] { return Bytes(pdf).starts_with("%PDF-"); },
                    [&] { return "\"" + Bytes(pdf).substr(0, 5) + "\"" + unexpected; });
        if (file == "window") {
            ASSERT_EQ(Windows().size(), windows + 1) << "the viewer window";
            for (WkObject* o : tmt::WidgetsUnder(Windows().back()))
                if (o->classCode == WK_CLASS_PUSH_BUTTON && Caption(o) == MessageText(MsgClose)) {
                    Click(o);
                    break;
                }
            EXPECT_EQ(Windows().size(), windows) << "the viewer window";
        } else if (file != "print" && !file.empty()) {
            EXPECT_EQ(ViewerTitle(), file) << "output button " << i + 1 << unexpected;
        }
    }
    WkRemoveTimeout(fillTimeout_);
    EXPECT_EQ(Bytes(pdf).substr(0, 5), "%PDF-") << pdf;
}

// Whether a game of the round (of any round for round 0) was drawn: the
// robin's lists and cross table then show the one-byte half.
static bool DrawIn(int round) {
    for (int r = round ? round : 1; r <= (round ? round : CurrentRound); ++r)
        for (int board = 1; board <= RoundBoardCount(r); ++board)
            if (GameTable(board, r) % 10 == Draw) return true;
    return false;
}

void EventOnX::CheckNamedFiles() {
    const bool robin = IsRoundRobin();
    for (const NamedFile& named : kNamedFiles) {
        if (named.mark == (robin ? 's' : 'r')) continue;
        std::string name = named.pattern;
        if (const std::size_t s = name.find("%s"); s != std::string::npos) name.replace(s, 2, base_);
        const std::size_t d = name.find("%d");
        for (int round = named.firstRound; round <= (d == std::string::npos ? 1 : CurrentRound); ++round) {
            const std::string file =
                d == std::string::npos ? name : std::string(name).replace(d, 2, std::to_string(round));
            const std::string bytes = Bytes(Data() + file);
            EXPECT_FALSE(bytes.empty()) << Data() << file << " is missing";
            bool crlf = true;
            for (std::size_t i = 0; i < bytes.size(); ++i)
                crlf &= bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r');
            EXPECT_TRUE(crlf) << file << " has a line end without CR";
            EXPECT_EQ(bytes.find("\xC2\xBD"), std::string::npos) << file << ": \"½\" in UTF-8";
            const bool draws = named.mark == '\xBD' && robin && DrawIn(d == std::string::npos ? 0 : round);
            EXPECT_TRUE(!draws || bytes.find('\xBD') != std::string::npos) << file << ": no \"½\"";
        }
    }
}

void EventOnX::OutputsAndReports() {
    SectionFile();
    ExtrasReports();
    OutputButtons();
    CheckNamedFiles();
}

} // namespace xev
