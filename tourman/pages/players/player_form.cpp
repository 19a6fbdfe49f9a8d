#include "tourman/pages/players/player_form.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/object.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/database_page.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/calendar_date.h"
#include "tournament/files/player_list_row.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The row last put into the form, empty when none is; a change needs one.
// The change replaces this row, wherever it has moved since and whichever
// row a search selected meanwhile, so that no other player is overwritten.
std::string PickedRow;

constexpr int AutosaveEvery = 10;

std::string FieldText(WkObject* field) {
    const char* text = field ? WkEditGetText(field) : nullptr;
    return text ? text : "";
}

void SetField(WkObject* field, const std::string& text) {
    if (field) WkEditReplaceText(field, text.c_str(), 0, 0);
}

std::string WithoutLeadingBlanks(const std::string& text) {
    const std::size_t at = text.find_first_not_of(" \t");
    return at == std::string::npos ? std::string() : text.substr(at);
}

std::string WithoutTrailingBlanks(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

template <std::size_t N> void CopyText(const std::string& text, char (&field)[N]) {
    std::snprintf(field, N, "%s", text.c_str());
}

int SelectedPosition() {
    const WkListItem* item = PlayersPage.playerList ? WkListGetSelectedItem(PlayersPage.playerList) : nullptr;
    return item ? item->position : -1;
}

// The record and the per-round cells of a player who joins after rounds were
// played: no colour preference yet, a loss without opponent in every round
// already played, no score.
void StartLateEntry(int id) {
    Players[id] = Player{};
    PlayerScores[id] = PlayerScore{};
    PairingStates[id] = PairingState{};
    PairingStates[id].dueColor = -1;
    PairingStates[id].colorFlexible = 1;
    PairingStates[id].byeEligibility = 1;
    for (int round = 1; round <= ActiveTables().lastRound(); ++round) {
        ColorHistory(id, round) = 0;
        OpponentTable(id, round) = 0;
        PlayerResultTable(id, round) = LossAtBoard;
        FloatHistory(id, round) = 0;
    }
}

constexpr const char* NoBirthDate = "00.00.00";

std::string Trimmed(const std::string& text) {
    return WithoutTrailingBlanks(WithoutLeadingBlanks(text));
}

// "dd.mm.yy" naming a day of the calendar; the two-digit year gives no
// century, so a 29 February is taken in every fourth year.
bool IsBirthDate(const std::string& text) {
    if (text.size() != 8 || text[2] != '.' || text[5] != '.') return false;
    for (std::size_t k : {0, 1, 3, 4, 6, 7})
        if (text[k] < '0' || text[k] > '9') return false;
    const int day = std::atoi(text.substr(0, 2).c_str()), month = std::atoi(text.substr(3, 2).c_str()),
              year = std::atoi(text.substr(6, 2).c_str());
    return IsCalendarDate(2000 + year, month, day); // 2000 to 2099: every fourth year a leap year
}

// The first field of the form that holds what no player can have, and the
// message naming it; no field when the form holds a player.
struct FormFault {
    WkObject* field = nullptr;
    std::string text;
};

FormFault CheckForm() {
    const PlayersPageWidgets& w = PlayersPage;
    if (Trimmed(FieldText(w.name)).size() < 2) return {w.name, "Name: a player's name has at least 2 characters."};
    if (Trimmed(FieldText(w.country)).size() == 1)
        return {w.country, "Country: give 2 or 3 letters, or leave the field empty."};
    const std::string birthday = FieldText(w.birthday);
    if (!Trimmed(birthday).empty() && birthday != NoBirthDate && !IsBirthDate(birthday))
        return {w.birthday, "Birthday: \"" + birthday +
                                "\" is not a date.\nType day, month and year as dd.mm.yy, or leave 00.00.00 "
                                "when the date is not known."};
    return {};
}

// Tells which field is wrong and puts the focus there, its text selected so
// that typing replaces it; true when the form holds no player.
bool RefuseBadForm() {
    const FormFault fault = CheckForm();
    if (!fault.field) return false;
    ShowAlert(fault.text, MessageText(MsgClose));
    WkObjectSetFocus(fault.field);
    WkEditSelectAll(fault.field);
    return true;
}

// The rows and the records agree again and the counters count them.
void PlayersChanged() {
    RowsToPlayers();
    TournamentChanged();
}

} // namespace

Player FormPlayer() {
    const PlayersPageWidgets& w = PlayersPage;
    Player p{};
    CopyText(WithoutLeadingBlanks(FieldText(w.name)), p.name);
    const std::string country = FieldText(w.country);
    CopyText(country.size() < 2 ? "---" : country, p.country);
    const std::string birthday = FieldText(w.birthday);
    CopyText(Trimmed(birthday).empty() ? NoBirthDate : birthday, p.birthDate);
    p.gender = w.gender && WkToggleGetState(w.gender) ? 'f' : 'm';
    CopyText(FieldText(w.title), p.title);
    p.fideId = std::atoi(FieldText(w.fideId).c_str());
    p.nationalId = std::atoi(FieldText(w.nationalId).c_str());
    p.fideRating = std::atoi(FieldText(w.fideRating).c_str());
    p.nationalRating = std::atoi(FieldText(w.nationalRating).c_str());
    p.k = std::atoi(FieldText(w.kFactor).c_str());
    p.available = w.available && WkToggleGetState(w.available) ? 1 : 0;
    return p;
}

void AddOrModifyPlayer(int mode) {
    WkObject* list = PlayersPage.playerList;
    if (!list) return;
    const WkListItem* picked = PickedRow.empty() ? nullptr : WkListFindItem(list, PickedRow.c_str());
    if (mode == 1 && !picked) {
        ShowAlert(MessageText(MsgSelectPlayerFirst), MessageText(MsgClose));
        return;
    }
    if (mode == 1 && PlayerCount < 1) return;
    const int position = mode == 1 ? picked->position : -1;
    const bool closed = ClosedRegistration != 0;
    if (closed && mode == 0 && IsRoundRobin()) {
        ShowAlert(MessageText(MsgNotInRoundRobin), MessageText(MsgClose));
        return;
    }
    // Whatever the form holds that no player can have is said before
    // anything is asked or added, and stays in the form to be mended.
    if (RefuseBadForm()) return;
    if (closed && mode == 0 &&
        AskQuestion(MessageText(MsgAddLateEntryQuestion), MessageText(MsgNo), MessageText(MsgYes)) == 0)
        return;
    if (mode == 0 && PlayerCount >= MaxPlayers) return;
    const Player p = FormPlayer();

    if (mode == 1) {
        const std::string row = PlayerListRow(p, closed ? position + 1 : 0);
        // A sorted list takes the changed row at its new place; a numbered
        // one keeps it where it is.
        if (closed) {
            WkListReplaceItem(list, position, row.c_str(), 0);
        } else {
            WkListDeleteItem(list, position);
            WkListAddItem(list, row.c_str(), 0);
        }
        PlayersChanged();
        SaveTournament();
    } else {
        const int id = PlayerCount + 1;
        if (closed) StartLateEntry(id);
        WkListAddItem(list, PlayerListRow(p, closed ? id : 0).c_str(), 0);
        PlayerCount = id;
        PlayersChanged();
        if (PlayerCount % AutosaveEvery == 0 || closed) SaveTournament();
    }
    ClearPlayerForm();
    if (PlayersPage.name) WkObjectSetFocus(PlayersPage.name);
    PickedRow.clear();
}

void ClearPlayerForm() {
    const PlayersPageWidgets& w = PlayersPage;
    for (WkObject* field : {w.name, w.country, w.fideRating, w.fideId, w.nationalRating, w.nationalId})
        SetField(field, "");
    // Nobody is in the form: the search field no longer shows whom it found
    // and no row stays selected for Delete to take.
    SetField(w.search, "");
    if (w.playerList) WkListSelectNone(w.playerList);
    SetField(w.birthday, "00.00.00");
    SetField(w.kFactor, "30");
    SetField(w.title, "NC");
    if (w.available) WkToggleSetOn(w.available);
}

void RowToForm(const WkListItem* item) {
    const PlayersPageWidgets& w = PlayersPage;
    if (!item || PlayerCount < 1) return;
    Player p{};
    if (!ReadPlayerListRow(item->text, item->position + 1, p)) return;
    SetField(w.name, WithoutTrailingBlanks(p.name));
    SetField(w.country, p.country);
    SetField(w.birthday, p.birthDate);
    if (w.gender) WkToggleSetState(w.gender, p.gender == 'f');
    SetField(w.title, p.title);
    SetField(w.fideId, std::to_string(p.fideId));
    SetField(w.fideRating, std::to_string(p.fideRating));
    SetField(w.nationalId, std::to_string(p.nationalId));
    SetField(w.nationalRating, std::to_string(p.nationalRating));
    SetField(w.kFactor, std::to_string(p.k));
    if (w.available) WkToggleSetState(w.available, p.available != 0);
    SetField(w.search, std::to_string(item->position + 1));
    ShowNameInDatabaseSearch(p.name);
    PickedRow = item->text;
}

void SecondListSelect(const WkListItem* item) {
    if (ClosedRegistration == 0) {
        ShowAlert(MessageText(MsgAbsentListNeedsClosedRegistration), MessageText(MsgClose));
        return;
    }
    WkObject* list = PlayersPage.playerList;
    if (!item || !list) return;
    const int number = std::atoi(item->text);
    if (number < 1 || number > PlayerCount) return;
    WkListSelectItem(list, number - 1);
    RowToForm(WkListGetItem(list, number - 1));
}

void DeletePlayer() {
    const int position = SelectedPosition();
    // Without a selected row (or once the tournament has started) nothing
    // may go: the counts must stay those of the rows.
    if (position < 0 || PlayerCount < 1 || ClosedRegistration != 0) {
        WkBeep();
        return;
    }
    WkListDeleteItem(PlayersPage.playerList, position);
    // No row is left selected and the form shows no one, so that a second
    // press deletes nothing until the arbiter picks the next player.
    WkListSelectNone(PlayersPage.playerList);
    ClearPlayerForm();
    --PlayerCount;
    PickedRow.clear();
    PlayersChanged();
}

void FindPlayer(const char* text) {
    WkObject* list = PlayersPage.playerList;
    if (!list || !text || *text == '\0') return;
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    int found = -1;
    if (*end == '\0' && number >= 1 && number <= PlayerCount) found = int(number) - 1;
    for (int position = 0; found < 0 && position < WkListGetCount(list); ++position) {
        const WkListItem* item = WkListGetItem(list, position);
        if (item && std::strstr(item->text, text)) found = position;
    }
    if (found < 0) return;
    WkListSelectItem(list, found);
    // The player found is the one in the form, as if picked in the list;
    // the search field shows his number, selected, so that the next search
    // is typed over it.
    RowToForm(WkListGetItem(list, found));
    if (PlayersPage.search) WkEditSelectAll(PlayersPage.search);
}

void MovePlayerToFile() {
    if (Trimmed(FieldText(PlayersPage.name)).size() < 2) {
        ShowAlert("No player selected!", MessageText(MsgClose));
        return;
    }
    if (RefuseBadForm()) return;
    const Player p = FormPlayer();
    const std::string line = FormatPlayerLine(p);
    std::string file, folder;
    if (!WkFileBrowser("Select the .QON file in which to move the selected player", "*.qon", file, folder, 1))
        return;
    const std::string path = folder + file;
    // The open tournament rewrites its own file from its list at the next
    // save: a line appended there would be lost, or worse, miscounted.
    if (WkSameFile(path.c_str(), TournamentFilePath(0).c_str())) {
        ShowAlert("The player cannot be moved into the open tournament's own file\n" + path,
                  MessageText(MsgClose));
        return;
    }
    char question[512];
    std::snprintf(
        question, sizeof question,
        "Are you sure to move %s\nin the QON file [%s] ?\n\n(Close the Quon session that is eventually "
        "using\n that file before to proceed!)",
        p.name, path.c_str());
    if (AskQuestion(question, MessageText(MsgNo), MessageText(MsgYes)) == 0) return;
    if (AppendPlayerToTournamentFile(path, line) && PlayersPage.name) WkObjectSetFocus(PlayersPage.name);
}

void ShowPlayerPopup(WkObject*, WkMessage* event, void* menu, std::uint32_t) {
    if (WkPointerButton(event) == 3)
        WkMenuPopup(static_cast<WkObject*>(menu), WkPointerScreenX(event), WkPointerScreenY(event));
}

void StartPlayerForm() {
    PickedRow.clear();
    // The form starts empty, not with the first entry of each field's choices.
    ClearPlayerForm();
}
