#include "tourman/dialogs/settings_dialog.h"

#include "message_boxes/message_boxes.h"
#include "pairing/round_dispatcher.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/close_buttons.h"
#include "tourman/frame/window_frame.h"
#include "tournament/calendar_date.h"
#include "tournament/files/host_files.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SettingsFields SettingsDialog;
void (*NewTournamentAccepted)() = nullptr;

namespace {

constexpr int kFontFixed = 1, kFontHelvSmall = 4, kFontTimesSmall = 6;

constexpr const char* kSystems[] = {"1: Swiss Dubov", "2: Round Robin S", "3: Swiss Quon",
                                    "4: Swiss USCF",  "5: Round Robin D", "6: Swiss Burstein"};
constexpr const char* kTieBreaks[] = {"1: Buccholz Cut 1",   "2: Buccholz Total", "3: Buccholz Median",
                                      "4: Sonneborn-Berger", "5: Cumulative",     "6: Average Rat. Opp.",
                                      "7: Most Blacks",      "8: Most Wins",      "9: Av. Perf. Rat. Opp."};

struct ScoreEntry {
    std::string text;
    ScorePoints points;
};
const ScoreEntry kScores[] = {
    {"0 - \xBD - 1", {1.0f, 0.5f}},
    {"0 - 2 - 5", {5.0f, 2.0f}},
    {"0 -0.4- 5", {1.0f, 0.4f}},
    {"0 - 1 - 3", {3.0f, 1.0f}},
};
// Stored points that none of the four entries gives are offered as a fifth
// entry, so that OK keeps them.
ScoreEntry OtherScore;

bool SamePoints(const ScorePoints& a, const ScorePoints& b) {
    return std::fabs(a.win - b.win) < 1e-4f && std::fabs(a.draw - b.draw) < 1e-4f;
}

std::string Text(WkObject* field) {
    const char* text = field ? WkEditGetText(field) : nullptr;
    return text ? text : "";
}

// A text passes with at least two characters.
bool Passes(WkObject* field) {
    return Text(field).size() >= 2;
}

int Number(WkObject* field) {
    return std::atoi(Text(field).c_str());
}

// The alert of a refusal; the user goes on at the refused field, when one
// is named, typing over its text.
void Refuse(const std::string& text, WkObject* field = nullptr) {
    RefuseFieldValue(field, text, MessageText(MsgClose));
}

// The refusal of a change the started tournament no longer takes, naming
// the field that holds it.
std::string FixedFieldText(MessageNumber field) {
    return MessageText(field) + ": " + MessageText(MsgFixedAfterRegistration);
}

// A stored date without the blanks that pad it to eight characters: a field
// full of them would take no digit typed.
std::string StoredDate(const char* date) {
    std::string text = date;
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string FewerRoundsText(int paired) {
    const std::string round = std::to_string(paired);
    return "Round " + round + " is paired already: the planned rounds cannot be fewer than " + round + ".";
}

WkObject* Table(WkObject* parent, int columns) {
    WkObject* table = WkCreateTableForm(parent, columns);
    WkObjectSetTransparency(table, 200);
    return table;
}

void Labels(WkObject* table, std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
        WkCreateLabel(table, text.c_str(), kFontHelvSmall);
}

// A preset is typed over, clicked into or not; so is a number that fills
// the field (a date), which leaves nothing to add. A name is corrected.
WkObject* Edit(WkObject* parent, const char* text, int length, int filter, bool preset = false) {
    WkObject* field = WkCreateEdit(parent, text, length, kFontHelvSmall);
    WkEditSetFilter(field, filter, nullptr);
    if (preset || (filter == WK_FILTER_DIGITS && int(std::strlen(text)) == length)) WkEditSetPreset(field, 1);
    return field;
}

WkObject* DropDown(WkObject* parent, const std::string& text, int length, int rows, int font,
                   std::initializer_list<std::string> items) {
    WkObject* combo = WkCreateComboBox(parent, text.c_str(), length, length, rows, font);
    WkEditSetReadOnly(combo);
    WkObjectSetShadow(combo, WK_SHADOW_OUT, 2, 0);
    for (const std::string& item : items)
        WkListAddItem(WkComboBoxGetList(combo), item.c_str(), 0);
    return combo;
}

void Forget(WkObject* window, WkMessage*, void*, std::uint32_t) {
    if (SettingsDialog.window == window) SettingsDialog = SettingsFields();
}

void BuildTieBreaks(WkObject* parent) {
    SettingsFields& f = SettingsDialog;
    WkObject* row = WkCreateHorizontalForm(parent);
    WkObjectSetTransparency(row, 200);
    WkObject* boxes = WkCreateVerticalForm(row);
    WkObjectSetShadow(boxes, WK_SHADOW_NONE, 0, 0);
    WkObjectSetTransparent(boxes);
    WkCreateLabel(boxes, MessageText(MsgTieBreaks).c_str(), kFontFixed);
    for (int code = 1; code <= 9; ++code)
        f.tieBreaks[code] = WkCreateToggle(boxes, kTieBreaks[code - 1], kFontFixed);

    f.tieBreakOrder = WkCreateList(row, kFontFixed, 22, 4, 22);
    WkListSetTitle(f.tieBreakOrder, MessageText(MsgTieBreakOrder).c_str());
    WkObjectSetTransparency(f.tieBreakOrder, 200);
    WkListSetOption(f.tieBreakOrder);
    for (int code : Settings.TieBreakOrder) {
        if (code < 1 || code > 9) continue;
        WkToggleSetOn(f.tieBreaks[code]);
        WkListAddItem(f.tieBreakOrder, kTieBreaks[code - 1], code);
    }
    // Only now, so that the initial states add nothing to the order.
    for (int code = 1; code <= 9; ++code)
        WkToggleSetCallback(f.tieBreaks[code], OnTieBreakToggle, reinterpret_cast<void*>(std::intptr_t(code - 1)));

    WkObject* hint = WkCreateVerticalForm(row);
    WkObjectSetShadow(hint, WK_SHADOW_NONE, 0, 0);
    WkObjectSetTransparent(hint);
    WkCreateLabel(hint, "To change the\nitem position use\n'ALT + Up' \nor\n'ALT + Down'", kFontTimesSmall);
}

void BuildExportRow(WkObject* parent) {
    SettingsFields& f = SettingsDialog;
    WkObject* table = Table(parent, 3);
    Labels(table, {"Lowest rating", "Highest rating", "Rating list"});
    f.lowestRating = Edit(table, "0", 4, WK_FILTER_DIGITS, true);
    f.highestRating = Edit(table, "3000", 4, WK_FILTER_DIGITS);
    f.ratingList = DropDown(table, "Either", 8, 3, kFontHelvSmall, {"National", "FIDE", "Either"});
}

} // namespace

void OpenSettingsDialog(int kind) {
    if (SettingsDialog.window) WkShellDestroy(SettingsDialog.window);
    SettingsFields& f = SettingsDialog;
    const TournamentSettings& s = Settings;
    f.kind = kind;
    const std::string title = kind == ModifySettingsKind  ? MessageText(MsgTournamentSettings)
                              : kind == NewTournamentKind ? MessageText(MsgNewTournament)
                                                          : std::string("Export Tournament");
    f.window = WkCreateShell(title.c_str(), WK_SHELL_DIALOG);
    WkFormSetSpacing(WkFormOf(f.window), 0);
    WkObjectSetBackgroundImageFile(WkFormOf(f.window), "tile6.bmp", WK_IMAGE_TILED);
    WkObjectAddDestroyHandler(f.window, Forget, nullptr);

    WkObject* main = WkCreateVerticalForm(f.window);
    WkObjectSetBackgroundImageFile(main, "tile1.bmp", WK_IMAGE_TILED);

    WkObject* texts = Table(main, 4);
    Labels(texts, {MessageText(MsgTournamentName), MessageText(MsgPlace), MessageText(MsgBeginDate),
                   MessageText(MsgEndDate)});
    f.name = Edit(texts, s.Name, 25, WK_FILTER_ALL);
    f.place = Edit(texts, s.Place, 25, WK_FILTER_ALL);
    f.beginDate = Edit(texts, StoredDate(s.BeginDate).c_str(), 8, WK_FILTER_DIGITS);
    f.endDate = Edit(texts, StoredDate(s.EndDate).c_str(), 8, WK_FILTER_DIGITS);

    WkObject* system = Table(main, 4);
    Labels(system, {MessageText(MsgArbiter), MessageText(MsgPairingSystem), MessageText(MsgRounds),
                    MessageText(MsgScorePoints)});
    f.arbiter = Edit(system, s.Arbiter, 25, WK_FILTER_ALL);
    const int code = s.PairingSystem >= 1 && s.PairingSystem <= 6 ? s.PairingSystem : 1;
    f.pairingSystem = DropDown(system, kSystems[code - 1], 18, 3, kFontHelvSmall,
                               {kSystems[0], kSystems[1], kSystems[2], kSystems[3], kSystems[4], kSystems[5]});
    const bool fresh = kind != ModifySettingsKind;
    // A count is replaced, never mended digit by digit.
    f.rounds = Edit(system, fresh ? "9" : std::to_string(s.PlannedRounds).c_str(), 2, WK_FILTER_DIGITS, true);
    const ScoreEntry* shown = nullptr;
    OtherScore = ScoreEntry();
    for (const ScoreEntry& e : kScores)
        if (SamePoints(e.points, s.ScoreSystem)) shown = &e;
    if (!shown) {
        char text[64];
        std::snprintf(text, sizeof text, "0-%.1f-%.1f", s.ScoreSystem.draw, s.ScoreSystem.win);
        OtherScore = {text, s.ScoreSystem};
        shown = &OtherScore;
    }
    const int scoreLength = std::max<int>(9, int(shown->text.size()));
    f.scoreSystem = DropDown(system, shown->text, scoreLength, 4, kFontFixed,
                             {kScores[0].text, kScores[1].text, kScores[2].text, kScores[3].text});
    if (shown == &OtherScore) WkListAddItem(WkComboBoxGetList(f.scoreSystem), OtherScore.text.c_str(), 0);

    BuildTieBreaks(main);

    WkObject* folder = WkCreateHorizontalForm(main);
    WkObjectSetTransparency(folder, 200);
    WkObject* browse = WkCreateButton(folder, MessageText(MsgDataFolder).c_str(), kFontTimesSmall);
    WkObjectSetShadow(browse, WK_SHADOW_ETCHED_IN, 2, 1);
    WkObjectSetHeight(browse, 30);
    WkButtonSetCallback(browse, OnBrowseDataFolder, nullptr);
    f.dataFolder = WkCreateEditWithWidth(folder, s.DataFolder, 160, 90, kFontTimesSmall);
    WkEditSetReadOnly(f.dataFolder);
    WkObjectSetBackgroundRGB(f.dataFolder, 197, 197, 144);
    WkObjectSetShadow(f.dataFolder, WK_SHADOW_ETCHED_IN, 1, 0);
    WkObjectSetSize(f.dataFolder, 400, 28);

    WkObject* file = Table(main, 3);
    Labels(file, {MessageText(MsgFileName), MessageText(MsgFideRating), MessageText(MsgAcceleratedRounds)});
    f.baseName = Edit(file, s.BaseName, 8, WK_FILTER_LETTERS | WK_FILTER_DIGITS);
    f.ratingChoice = WkCreateToggle(file, "", kFontHelvSmall);
    WkObjectSetWidth(f.ratingChoice, 30);
    WkObjectSetResizable(f.ratingChoice, 0, 0);
    if (s.RatingChoice == 1) WkToggleSetOn(f.ratingChoice);
    f.acceleratedRounds = DropDown(file, fresh ? "0" : std::to_string(s.AcceleratedRounds), 3, 3, kFontHelvSmall,
                                   {"0", "1", "2"});

    if (kind == ExportTournamentKind) BuildExportRow(f.window);

    WkObject* buttons = WkCreateHorizontalForm(f.window);
    WkObjectSetShadow(buttons, WK_SHADOW_NONE, 0, 0);
    WkObjectSetSize(buttons, 297, 46);
    WkObjectSetResizable(buttons, 0, 0);
    WkObjectSetTransparent(buttons);
    f.closeButton = WkCreateButton(buttons, MessageText(MsgClose).c_str(), kFontHelvSmall);
    WkButtonSetCallback(f.closeButton, OnCloseDialog, nullptr);
    f.okButton = WkCreateButton(buttons, MessageText(MsgOk).c_str(), kFontHelvSmall);
    // The export kind's OK is the export's own, which its command connects.
    if (kind != ExportTournamentKind)
        WkButtonSetCallback(f.okButton, OnSettingsOk, reinterpret_cast<void*>(std::intptr_t(kind)));
    WkShellRealize(f.window);
}

void OnTieBreakToggle(WkObject*, int on, void* index) {
    const int i = int(reinterpret_cast<std::intptr_t>(index));
    if (i < 0 || i > 8 || !SettingsDialog.tieBreakOrder) return;
    if (on) WkListAddItem(SettingsDialog.tieBreakOrder, kTieBreaks[i], 0);
    else WkListDeleteText(SettingsDialog.tieBreakOrder, kTieBreaks[i]);
}

void OnBrowseDataFolder(WkObject*, void*, void*) {
    WkBrowserOptions options;
    options.keepFolder = options.newFolder = options.renameFolder = options.deleteFolder = 1;
    std::string folder;
    if (WkFileBrowserWithOptions(MessageText(MsgChooseDataFolder).c_str(), "", folder, &options) == 1 &&
        SettingsDialog.dataFolder)
        WkEditReplaceText(SettingsDialog.dataFolder, folder.c_str(), 0, 0);
}

// Looked at, not opened: a FIFO in the file's place would block an open.
bool FileExists(const std::string& path) {
    return HostFileKindOf(path) != HostFileKind::Missing;
}

bool ReadSettingsFields(TournamentSettings& s, int kind) {
    const SettingsFields& f = SettingsDialog;
    const struct {
        WkObject* field;
        int message;
    } texts[] = {{f.name, MsgEnterTournamentName},
                 {f.place, MsgEnterPlace},
                 {f.beginDate, MsgEnterDates},
                 {f.endDate, MsgEnterDates},
                 {f.arbiter, MsgEnterArbiter}};
    for (const auto& t : texts) {
        if (!Passes(t.field)) return Refuse(MessageText(t.message), t.field), false;
        // Only real days, the tournament not ending before it begins.
        if (t.field != f.endDate) continue;
        const std::string refusal =
            DateFieldsRefusal(MessageText(MsgBeginDate), Text(f.beginDate), MessageText(MsgEndDate),
                              Text(f.endDate), DateForm::DayFirst);
        if (!refusal.empty())
            return Refuse(refusal, RefusesBeginDate(refusal, MessageText(MsgBeginDate)) ? f.beginDate : f.endDate),
                   false;
    }

    const int system = Number(f.pairingSystem);
    const bool guarded = kind == ModifySettingsKind && ClosedRegistration != 0;
    if (guarded && IsRoundRobinSystem(system) != IsRoundRobinSystem(Settings.PairingSystem))
        return Refuse(FixedFieldText(MsgPairingSystem), f.pairingSystem), false;
    s.PairingSystem = system;

    const int rounds = Number(f.rounds);
    if (!IsRoundRobinSystem(system) && (rounds < 1 || rounds > MaxPlannedRounds))
        return Refuse(MessageText(MsgPlannedRoundsRange), f.rounds), false;
    // Rounds already paired cannot be planned away.
    if (!IsRoundRobinSystem(system) && kind == ModifySettingsKind && rounds < CurrentRound)
        return Refuse(FewerRoundsText(CurrentRound), f.rounds), false;
    s.PlannedRounds = rounds;
    s.AcceleratedRounds = Number(f.acceleratedRounds);
    const std::string score = Text(f.scoreSystem);
    for (const ScoreEntry& e : kScores)
        if (score == e.text) s.ScoreSystem = e.points;
    if (!OtherScore.text.empty() && score == OtherScore.text) s.ScoreSystem = OtherScore.points;

    // The folder is kept with its '/' and must fit the setting whole.
    std::string folder = Text(f.dataFolder);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (folder.size() < 3 || folder.size() >= sizeof s.DataFolder)
        return Refuse(MessageText(MsgEnterDataFolder), f.dataFolder), false;
    if (!Passes(f.baseName)) return Refuse(MessageText(MsgEnterFileName), f.baseName), false;

    int slot = 0;
    for (int i = 0; i < WkListGetCount(f.tieBreakOrder) && slot < TieBreakSlots; ++i)
        s.TieBreakOrder[slot++] = std::atoi(WkListGetItem(f.tieBreakOrder, i)->text);
    while (slot < TieBreakSlots)
        s.TieBreakOrder[slot++] = 0;

    const int ratingChoice = WkToggleGetState(f.ratingChoice) ? 1 : 0;
    if (guarded && ratingChoice != Settings.RatingChoice)
        return Refuse(FixedFieldText(MsgFideRating), f.ratingChoice), false;
    s.RatingChoice = ratingChoice;

    CopyField(s.Name, Text(f.name));
    CopyField(s.Place, Text(f.place));
    char date[16];
    std::snprintf(date, sizeof date, "%-8.8s", Text(f.beginDate).c_str());
    CopyField(s.BeginDate, date);
    std::snprintf(date, sizeof date, "%-8.8s", Text(f.endDate).c_str());
    CopyField(s.EndDate, date);
    CopyField(s.Arbiter, Text(f.arbiter));
    CopyField(s.DataFolder, folder);
    CopyField(s.BaseName, Text(f.baseName));
    return true;
}

void OnSettingsOk(WkObject*, void*, void* data) {
    const int kind = int(reinterpret_cast<std::intptr_t>(data));
    TournamentSettings s = Settings;
    if (!ReadSettingsFields(s, kind)) return;
    // A new tournament never writes over another tournament's file.
    if (kind == NewTournamentKind && FileExists(std::string(s.DataFolder) + s.BaseName + ".qon"))
        return Refuse(FileExistsText, SettingsDialog.baseName);
    if (kind == ModifySettingsKind && ClosedRegistration != 0 && s.PairingSystem != Settings.PairingSystem)
        Refuse("The swiss system you was using has been changed!");
    Settings = s;
    TournamentChanged();
    if (kind == NewTournamentKind && NewTournamentAccepted) NewTournamentAccepted();
    if (SettingsDialog.window) WkShellDestroy(SettingsDialog.window);
}

void TournamentSettingsCommand() {
    if (TournamentOpen == 0) return Refuse(MessageText(MsgNeedsStartedTournament));
    OpenSettingsDialog(ModifySettingsKind);
    TournamentChanged();
}
