#include "tourman/pages/players/player_readers.h"

#include "toolkit/core/letters.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/player_list_row.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>
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

// What a player can hold, as wide as the entry form's fields and the player
// list's columns take it.
constexpr std::size_t NameWidth = 20, CountryWidth = 3, BirthDateWidth = 8, TitleWidth = 3;
constexpr int IdDigits = 8, RatingDigits = 4, KDigits = 2;

// A line read into a player, and why it cannot be one ("" when it can).
struct LineRead {
    Player player{};
    std::string refusal;

    void refuse(const std::string& why) {
        if (refusal.empty()) refusal = why;
    }
    void name(const std::string& text) {
        std::string upper(text.size(), ' ');
        UpperNoComma(text.c_str(), upper.data(), upper.size() + 1);
        upper = Trim(WkUpperText(upper.data()));
        if (upper.empty()) refuse("The line holds no name.");
        else if (upper.size() < 2) refuse("The name has fewer than 2 characters.");
        if (upper.size() > NameWidth) refuse("The name has more than " + std::to_string(NameWidth) + " characters.");
        CopyField(player.name, upper);
    }
    // A text, blank when empty; longer than its field it is refused.
    template <std::size_t N>
    void text(const std::string& value, std::size_t width, const char* what, char (&field)[N], const char* blank) {
        if (value.size() > width)
            refuse(std::string("The ") + what + " \"" + value + "\" has more than " + std::to_string(width) +
                   " characters.");
        SetText(field, value, blank);
    }
    // A whole number; 0 when the field holds none (no digits, or other
    // characters too), refused when it does not fit its field or lies below 0.
    void number(const std::string& value, int digits, const char* what, int& field) {
        field = 0;
        const std::string t = Trim(value);
        const std::size_t first = t.empty() || (t[0] != '-' && t[0] != '+') ? 0 : 1;
        if (first == t.size() || t.find_first_not_of("0123456789", first) != std::string::npos) return;
        const std::size_t significant = std::min(t.find_first_not_of('0', first), t.size());
        const std::string shown = std::string("The ") + what + " " + t;
        if (t[0] == '-' && significant < t.size()) refuse(shown + " is below 0.");
        else if (t.size() - significant > std::size_t(digits))
            refuse(shown + " has more than " + std::to_string(digits) + " digits.");
        else field = Number(t);
    }
};

// Every ';' separates, so an empty field stays in its place. A control
// character becomes a blank, as the tournament file would keep it.
std::vector<std::string> SemicolonFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ';') fields.emplace_back();
        else fields.back() += c;
    }
    for (std::string& f : fields) f = Trim(PlayerFileText(f));
    fields.resize(std::max<std::size_t>(fields.size(), 10));
    return fields;
}

LineRead ReadSemicolonLine(const std::string& line, int mode) {
    const std::vector<std::string> f = SemicolonFields(line);
    LineRead r;
    Player& p = r.player;
    r.name(f[0]);
    const bool quon = mode == ImportQuon;
    r.text(f[quon ? 1 : 4], CountryWidth, "country", p.country, "---");
    r.text(f[quon ? 4 : 2], TitleWidth, "title", p.title, "--");
    r.text(f[quon ? 2 : 5], BirthDateWidth, "birth date", p.birthDate, "00.00.00");
    p.available = 1;
    if (quon) {
        p.gender = GenderLetter(f[3]);
        r.number(f[5], IdDigits, "FIDE id", p.fideId);
        r.number(f[6], RatingDigits, "FIDE rating", p.fideRating);
        r.number(f[7], IdDigits, "national id", p.nationalId);
        r.number(f[8], RatingDigits, "national rating", p.nationalRating);
        r.number(f[9], KDigits, "K factor", p.k);
    } else {
        r.number(f[1], RatingDigits, "rating", p.nationalRating);
        r.number(f[3], KDigits, "K factor", p.k);
        p.fideRating = p.k != 0 ? 0 : p.nationalRating;
        r.number(f[6], IdDigits, "FIDE id", p.fideId);
        r.number(f[7], IdDigits, "national id", p.nationalId);
        p.gender = GenderLetter(f[8]);
    }
    return r;
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

FixedWidthLine CutFixedWidthLine(const std::string& listed) {
    // Positions stay: each character the file would not keep is one blank.
    const std::string line = PlayerFileText(listed);
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
            text = Trim(name);
        } else text = Trim(raw);
    }
    return l;
}

// The columns into a player; a Name column switched off is not checked.
LineRead ReadFixedWidthLine(const std::string& line, int mode) {
    const FixedWidthLine l = CutFixedWidthLine(line);
    LineRead r;
    Player& p = r.player;
    if (l.on(NameColumn)) r.name(l.text[NameColumn]);
    r.text(l.text[CountryColumn], CountryWidth, "country", p.country, "---");
    r.text(l.text[TitleColumn], TitleWidth, "title", p.title, "--");
    r.text(l.text[BirthdayColumn], BirthDateWidth, "birth date", p.birthDate, "00.00.00");
    p.available = 1;
    p.gender = 'm';
    const bool fide = mode == ImportFide;
    r.number(l.text[RatingColumn], RatingDigits, fide ? "FIDE rating" : "national rating",
             fide ? p.fideRating : p.nationalRating);
    r.number(l.text[IdCodeColumn], IdDigits, fide ? "FIDE id" : "national id", fide ? p.fideId : p.nationalId);
    if (!fide) r.number(l.text[KColumn], KDigits, "K factor", p.k);
    return r;
}

bool AtPlayerLimit() {
    const int limit = IsRoundRobin() ? kRoundRobinImportLimit : MaxPlayers;
    if (PlayerCount < limit) return false;
    ShowAlert(MessageText(MsgPlayerLimit) + " " + std::to_string(limit), MessageText(MsgClose));
    return true;
}

void Refuse(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

// A line listed without its end lost what was there: refused when a field
// read lay in it (a semicolon line short of its fields, a column past it).
void RefuseCutField(const WkListItem* item, int mode, LineRead& read) {
    if (!item || item->userData != CutDatabaseLine) return;
    bool lost = false;
    if (mode == ImportQuon || mode == ImportFsi) {
        const std::size_t fields = mode == ImportQuon ? 10 : 9;
        lost = std::count(item->text, item->text + std::strlen(item->text), ';') < std::ptrdiff_t(fields);
    } else {
        for (int s = 0; s < ColumnCount; ++s)
            lost = lost || (ColumnFilter[s].enabled && ColumnFilter[s].start + ColumnWidth[s] > DatabaseLineLength);
    }
    if (lost)
        read.refuse("The line is longer than " + std::to_string(DatabaseLineLength) +
                    " characters and its end, which holds some of the player's data, is not listed.");
}

// True after telling why the line makes no player; nothing has changed.
bool RefusedLine(const std::string& line, const LineRead& read) {
    if (read.refusal.empty()) return false;
    ShowAlert("This line cannot be taken as a player:\n\"" + Trim(line) + "\"\n" + read.refusal,
              MessageText(MsgClose));
    return true;
}

void AddRow(WkObject* list, const std::string& line, const Player& p) {
    WkListAddItem(PlayersPage.playerList, PlayerListRow(p, 0).c_str(), 0);
    ++PlayerCount;
    // The records follow the rows, so that the counters count what is listed.
    RowsToPlayers();
    TournamentChanged();
    WkListDeleteText(list, line.c_str());
}

std::string LineOf(const WkListItem* item) {
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
    const PlayersPageWidgets& w = PlayersPage;
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

// The item's line read by the reader of the mode, a cut end checked.
LineRead ReadItem(const WkListItem* item, int mode) {
    const std::string line = LineOf(item);
    LineRead read = mode == ImportQuon || mode == ImportFsi ? ReadSemicolonLine(line, mode)
                                                           : ReadFixedWidthLine(line, mode);
    RefuseCutField(item, mode, read);
    return read;
}

void FormFilled(WkObject* list, const std::string& line) {
    WkToggleSetOn(PlayersPage.available);
    WkListDeleteText(list, line.c_str());
}

} // namespace

void ImportSemicolonLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (AtPlayerLimit()) return;
    const LineRead read = ReadItem(item, ImportQuon);
    if (ClosedRegistration != 0 || IsSavedRound != 0) return Refuse(MsgNoImportAfterStart);
    if (!RefusedLine(line, read)) AddRow(list, line, read.player);
}

void ImportFixedWidthLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (!ColumnFilter[NameColumn].enabled) return Refuse(MsgNoNameColumn);
    if (AtPlayerLimit()) return;
    const LineRead read = ReadItem(item, ImportMode);
    if (!RefusedLine(line, read)) AddRow(list, line, read.player);
}

void ImportFsiLine(WkObject* list, WkListItem* item, void*) {
    const std::string line = LineOf(item);
    if (AtPlayerLimit()) return;
    const LineRead read = ReadItem(item, ImportFsi);
    if (!RefusedLine(line, read)) AddRow(list, line, read.player);
}

void CopySemicolonLineToForm(WkObject* list) {
    const WkListItem* item = WkListGetSelectedItem(list);
    const std::string line = LineOf(item);
    if (line.empty()) return;
    // The search lists upper-cased lines, so "F" marks a woman as "f" does.
    const LineRead read = ReadItem(item, ImportQuon);
    if (RefusedLine(line, read)) return;
    PlayerToForm(read.player, read.player.gender == 'f');
    FormFilled(list, line);
}

void CopyFsiLineToForm(WkObject* list) {
    const WkListItem* item = WkListGetSelectedItem(list);
    const std::string line = LineOf(item);
    if (line.empty()) return;
    const LineRead read = ReadItem(item, ImportFsi);
    if (RefusedLine(line, read)) return;
    PlayerToForm(read.player, read.player.gender == 'f');
    FormFilled(list, line);
}

void CopyFixedWidthLineToForm(WkObject* list) {
    const WkListItem* item = WkListGetSelectedItem(list);
    const std::string line = LineOf(item);
    if (line.empty() || RefusedLine(line, ReadItem(item, ImportMode))) return;
    const FixedWidthLine l = CutFixedWidthLine(line);
    const PlayersPageWidgets& w = PlayersPage;
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
