#include "tourman/pages/output/output_page.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/file_viewer.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/output/text_viewers.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kFontFixed = 1, kFontTimesSmall = 6, kEtchedIn = 3;

// The page's buttons in creation order (six to a row, two lines here): a
// message number or a literal caption, and the handler's id.
struct OutputButton {
    int message;
    const char* caption;
    int id;
};
constexpr OutputButton kButtons[] = {
    {MsgScoreGroups, nullptr, 1},    {MsgCrossTable, nullptr, 2},       {MsgStandings, nullptr, 3},
    {MsgByCategory, nullptr, 12},    {MsgBoardCards, nullptr, 4},       {0, "FIDE CrossTbl", 20},
    {MsgPlayerCards, nullptr, 5},    {MsgPairings, nullptr, 7},         {MsgResults, nullptr, 8},
    {MsgPlayersByName, nullptr, 17}, {MsgPlayersByRating, nullptr, 18}, {0, "FIDE Cards", 21},
    {MsgOtherFile, nullptr, 0},      {MsgRatingChange, nullptr, 6},     {MsgTournamentFile, nullptr, 9},
    {MsgPrint, nullptr, 10},         {MsgFileViewer, nullptr, 16},      {0, "FIDE Report", 22},
};

// Ids that show one fixed file of the data folder.
struct FixedFile {
    int id;
    const char* name;
};
constexpr FixedFile kFixedFiles[] = {
    {2, "crosstbl.txt"}, {3, "tblscore.txt"}, {4, "boardcrd.txt"}, {5, "playercd.txt"}, {6, "elovar.txt"},
    {12, "rankcat.txt"}, {14, "elovar.txt"},  {17, "playname.txt"}, {18, "playrat.txt"}, {20, "fidecros.txt"},
    {21, "fidecard.txt"}, {22, "fideelo.txt"},
};

std::string RoundFile(const char* pattern, int round) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, round);
    return name;
}

void Show(const std::string& name) {
    SetViewedFile(OutputPage.fileViewer, Settings.DataFolder + name, name);
}

void OnOutputButton(WkObject* button, void*, void* id) {
    ShowOutputFile(button, int(reinterpret_cast<std::intptr_t>(id)));
}

} // namespace

void ShowOutputFile(WkObject*, int id) {
    WkObject* viewer = OutputPage.fileViewer;
    if (!viewer) return;
    for (const FixedFile& f : kFixedFiles)
        if (f.id == id) return Show(f.name);
    const int round = CurrentRound;
    switch (id) {
    case 0: {
        std::string file, folder;
        if (!WkFileBrowser("", "*.*", file, folder, 1)) return;
        SetViewedFile(viewer, folder + file, file);
        return;
    }
    case 1:
        if (IsRoundRobin()) return ShowAlert(MessageText(MsgNotInRoundRobin), MessageText(MsgClose));
        return Show(RoundFile("scgr%d-0.txt", round));
    case 7:
        return Show(RoundFile("pairs%d.txt", round));
    case 8:
        return Show(RoundFile("result%d.txt", round));
    case 9:
        return Show(std::string(Settings.BaseName) + ".qon");
    case 10:
        return PrintViewedFile(viewer);
    case 15:
        Show(RoundFile("pairs%d.txt", round));
        return PrintViewedFile(viewer);
    case 16:
        return WkShellRealize(OpenFileViewer(ViewedFilePath(viewer)));
    default:
        return;
    }
}

void LogsCommand() {
    const std::string folder = Settings.DataFolder;
    OpenTwoFileViewer(MessageText(MsgLogs), folder + RoundFile("verbos%d.txt", CurrentRound),
                      folder + RoundFile("scgr%d-0.txt", CurrentRound));
}

void BuildOutputPage(WkObject* page) {
    OutputPageWidgets& w = OutputPage;
    w = OutputPageWidgets();
    w.tournamentOpenings = TournamentOpenings;
    WkObject* viewer = w.fileViewer = WkCreateFileViewer(page, "", kFontFixed, 15, 40);
    WkListSetTitle(viewer, std::string(115, ' ').c_str());
    WkObjectSetName(viewer, "Window File");
    WkObjectSetTransparency(viewer, 155);
    w.outputButtons = WkCreateTableForm(page, 6);
    WkObjectSetTransparent(w.outputButtons);
}

void ConnectOutputPage() {
    const OutputPageWidgets& w = OutputPage;
    if (w.outputButtons)
        for (const OutputButton& b : kButtons) {
            const std::string caption = b.caption ? b.caption : MessageText(b.message);
            WkObject* button = WkCreateButton(w.outputButtons, caption.c_str(), kFontTimesSmall);
            WkObjectSetWidth(button, 110);
            WkObjectSetShadow(button, kEtchedIn, 1, 2);
            WkButtonSetCallback(button, OnOutputButton, reinterpret_cast<void*>(std::intptr_t(b.id)));
        }
}

void ShowOutputPageState() {
    if (OutputPage.tournamentOpenings == TournamentOpenings) return;
    OutputPage.tournamentOpenings = TournamentOpenings;
    ClearViewedFile(OutputPage.fileViewer);
}
