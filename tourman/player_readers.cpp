#include "tourman/player_readers.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/column_filter.h"
#include "tourman/main_window.h"
#include "tourman/player_list.h"
#include "tournament/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/tournament_file.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// One player fewer than a round robin's most, as the imports have always allowed.
constexpr int kRoundRobinImportLimit = 23;

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int Number(const std::string& text) {
    int value = 0;
    return ParseInt(text, value) ? value : 0;
}

template <std::size_t N> void SetText(char (&field)[N], const std::string& text, const char* blank) {
    CopyField(field, text.empty() ? blank : text);
}

char GenderLetter(const std::string& field) {
    if (field.empty()) return 'm';
    return field[0] == 'M' ? 'm' : field[0] == 'F' ? 'f' : field[0];
}

// Every ';' separates, so an empty field stays in its place.
std::vector<std::string> SemicolonFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ';') fields.emplace_back();
        else fields.back() += c;
    }
    for (std::string& f : fields) f = Trim(f);
    fields.resize(std::max<std::size_t>(fields.size(), 10));
    return fields;
}

// The blank texts of a row would shift the words a committed row is read by.
void FillBlanks(Player& p, const std::string& country, const std::string& title, const std::string& birth) {
    SetText(p.country, country, "---");
    SetText(p.title, title, "--");
    SetText(p.birthDate, birth, "00.00.00");
    p.available = 1;
}

Player ReadSemicolonLine(const std::string& line, int mode) {
    const std::vector<std::string> f = SemicolonFields(line);
    Player p{};
    UpperNoComma(f[0].c_str(), p.name);
    if (mode == ImportQuon) {
        FillBlanks(p, f[1], f[4], f[2]);
        p.gender = GenderLetter(f[3]);
        p.fideId = Number(f[5]);
        p.fideRating = Number(f[6]);
        p.nationalId = Number(f[7]);
        p.nationalRating = Number(f[8]);
        p.k = Number(f[9]);
    } else {
        FillBlanks(p, f[4], f[2], f[5]);
        p.nationalRating = Number(f[1]);
        p.k = Number(f[3]);
        p.fideRating = p.k != 0 ? 0 : p.nationalRating;
        p.fideId = Number(f[6]);
        p.nationalId = Number(f[7]);
        p.gender = GenderLetter(f[8]);
    }
    return p;
}

// The column's characters; those past the line's end read as blanks.
std::string Column(const std::string& line, ColumnSlot slot) {
    const std::size_t start = std::size_t(ColumnFilter[slot].start), width = std::size_t(ColumnWidth[slot]);
    std::string text = start < line.size() ? line.substr(start, width) : "";
    return text + std::string(width - text.size(), ' ');
}

std::string TitleOfColumn(const std::string& pair) {
    static const struct {
        const char *pair, *title;
    } titles[] = {{"  ", "--"},  {"G ", "GM"}, {" G", "GM"}, {"WG", "WGM"}, {"M ", "IM"},  {" M", "IM"},
                  {"WM", "WIM"}, {"F ", "FM"}, {" F", "FM"}, {"WF", "WFM"}};
    for (const auto& t : titles)
        if (pair == t.pair) return t.title;
    return Trim(pair);
}

// The fixed-width columns as texts, by slot; "" for a column switched off.
struct FixedWidthLine {
    std::string text[ColumnCount];
    bool on(ColumnSlot slot) const { return ColumnFilter[slot].enabled != 0; }
};

FixedWidthLine CutFixedWidthLine(const std::string& line) {
    FixedWidthLine l;
    for (int s = 0; s < ColumnCount; ++s) {
        const ColumnSlot slot = ColumnSlot(s);
        if (!l.on(slot)) continue;
        const std::string raw = Column(line, slot);
        std::string& text = l.text[slot];
        if (slot == TitleColumn) text = TitleOfColumn(raw);
        else if (slot == BirthdayColumn) text = raw[0] == ' ' ? "00.00.00" : Trim(raw);
        else if (slot == NameColumn) {
            char name[PlayerNameSize];
            UpperNoComma(Trim(raw).c_str(), name);
            text = name;
        } else text = Trim(raw);
    }
    return l;
}

Player ReadFixedWidthLine(const std::string& line, int mode) {
    const FixedWidthLine l = CutFixedWidthLine(line);
    Player p{};
    CopyField(p.name, l.text[NameColumn]);
    FillBlanks(p, l.text[CountryColumn], l.text[TitleColumn], l.text[BirthdayColumn]);
    p.gender = 'm';
    const int rating = Number(l.text[RatingColumn]), id = Number(l.text[IdCodeColumn]);
    if (mode == ImportFide) {
        p.fideRating = rating;
        p.fideId = id;
    } else {
        p.nationalRating = rating;
        p.nationalId = id;
        p.k = Number(l.text[KColumn]);
    }
    return p;
}

bool AtPlayerLimit() {
    const int limit = IsRoundRobin() ? kRoundRobinImportLimit : MaxPlayers;
    if (PlayerCount < limit) return false;
    ShowAlert(MessageText(122) + " " + std::to_string(limit), MessageText(3));
    return true;
}

void Refuse(int message) {
    ShowAlert(MessageText(message), MessageText(3));
}

void AddRow(WkObject* list, const std::string& line, const Player& p) {
    WkListAddItem(MainWindow.playerList, PlayerListRow(p, 0).c_str(), 0);
    ++PlayerCount;
    // The records follow the rows, so that the counters count what is listed.
    RowsToPlayers();
    TournamentSaved = 0;
    UpdatePlayerCounters();
    WkListDeleteText(list, line.c_str());
}

std::string LineOf(WkListItem* item) {
    return item && item->text ? item->text : "";
}

void SetField(WkObject* field, const std::string& text) {
    if (field) WkEditReplaceText(field, text.c_str(), 0, 0);
}

void SetField(WkObject* field, int number) {
    SetField(field, std::to_string(number));
}

// Texts and numbers of the record into the form; the gender toggle as given.
void PlayerToForm(const Player& p, bool female) {
    const MainWindowWidgets& w = MainWindow;
    SetField(w.name, p.name);
    SetField(w.country, p.country);
    SetField(w.birthday, p.birthDate);
    SetField(w.title, p.title);
    SetField(w.fideId, p.fideId);
    SetField(w.fideRating, p.fideRating);
    SetField(w.nationalId, p.nationalId);
    SetField(w.nationalRating, p.nationalRating);
    SetField(w.kFactor, p.k);
    WkToggleSetState(w.gender, female);
}

// The selected line of the list, or "" when none is.
std::string SelectedLine(WkObject* list) {
    return LineOf(WkListGetSelectedItem(list));
}

void FormFilled(WkObject* list, const std::string& line) {
    WkToggleSetOn(MainWindow.available);
    WkListDeleteText(list, line.c_str());
}

} // namespace

void ImportSemicolonLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (AtPlayerLimit()) return;
    const Player p = ReadSemicolonLine(line, ImportQuon);
    if (ClosedRegistration != 0 || IsSavedRound != 0) return Refuse(123);
    AddRow(list, line, p);
}

void ImportFixedWidthLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (!ColumnFilter[NameColumn].enabled) return Refuse(121);
    if (AtPlayerLimit()) return;
    AddRow(list, line, ReadFixedWidthLine(line, ImportMode));
}

void ImportFsiLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (AtPlayerLimit()) return;
    AddRow(list, line, ReadSemicolonLine(line, ImportFsi));
}

void CopySemicolonLineToForm(WkObject* list) {
    const std::string line = SelectedLine(list);
    if (line.empty()) return;
    // The search lists upper-cased lines, so "F" marks a woman as "f" does.
    const Player p = ReadSemicolonLine(line, ImportQuon);
    PlayerToForm(p, p.gender == 'f');
    FormFilled(list, line);
}

void CopyFsiLineToForm(WkObject* list) {
    const std::string line = SelectedLine(list);
    if (line.empty()) return;
    const Player p = ReadSemicolonLine(line, ImportFsi);
    PlayerToForm(p, p.gender == 'f');
    FormFilled(list, line);
}

void CopyFixedWidthLineToForm(WkObject* list) {
    const std::string line = SelectedLine(list);
    if (line.empty()) return;
    const FixedWidthLine l = CutFixedWidthLine(line);
    const MainWindowWidgets& w = MainWindow;
    const bool fide = ImportMode == ImportFide;
    const struct {
        ColumnSlot slot;
        WkObject* field;
        bool number;
    } targets[] = {
        {NameColumn, w.name, false},
        {RatingColumn, fide ? w.fideRating : w.nationalRating, true},
        {TitleColumn, w.title, false},
        {KColumn, ImportMode == ImportNational ? w.kFactor : nullptr, true},
        {CountryColumn, w.country, false},
        {BirthdayColumn, w.birthday, false},
        {IdCodeColumn, fide ? w.fideId : w.nationalId, true},
    };
    for (const auto& t : targets) {
        if (!l.on(t.slot)) continue;
        const std::string& text = l.text[t.slot];
        if (t.number) SetField(t.field, Number(text));
        else SetField(t.field, text);
    }
    FormFilled(list, line);
}
