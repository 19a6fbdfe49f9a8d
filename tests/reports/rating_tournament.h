// Two small rated tournaments for the rating-report tests. Header only.
//
// The Swiss one: seven players over four rounds, with a full-point BYE, a
// half-point bye without a game, a forfeit, a double forfeit, a player who
// withdrew after round 2, two players without a FIDE rating (one with four
// rated games, one with two) and games against them. The round robin: five
// players after three of five rounds, a BYE every round, a forfeit, one
// player without a FIDE rating. Both hold commas in the tournament's texts.
// Scores, tie-breaks and rating variations are set by hand, so the reports
// are checked against values that do not depend on the score code.
#pragma once

#include "report_tournament.h"

#include <vector>

struct RatedEntry {
    const char* name;
    int fideRating;
    int nationalRating;
    int k;
    const char* title;
    char gender;
    const char* birthDate;
    float score;
    float buchholzCut1;
    float ratingVariation;
};

// Registers the players in order: ids from 1, FIDE and national ids made
// from the id, the rating used by the tournament's rating rule.
template <std::size_t N> inline void AddRatedPlayers(const RatedEntry (&entries)[N]) {
    for (const RatedEntry& e : entries) {
        const int id = AddTestPlayer(e.name);
        Player& p = Players[id];
        p.fideId = e.fideRating > 0 ? 2300000 + id : 0;
        p.fideRating = e.fideRating;
        p.nationalId = 41000 + id;
        p.nationalRating = e.nationalRating;
        p.k = e.k;
        CopyField(p.title, e.title);
        p.gender = e.gender;
        CopyField(p.birthDate, e.birthDate);
        ApplyRatingRule(p);
        p.seedingKey = p.ratingUsed;
        PlayerScores[id].score = e.score;
        PlayerScores[id].buchholzCut1 = e.buchholzCut1;
        PlayerScores[id].ratingVariation = e.ratingVariation;
    }
}

inline void SetRatedTournamentTexts(const std::string& folderName) {
    ResetTournamentState();
    CopyField(Settings.Name, "Open Lago, 2026");
    CopyField(Settings.Place, "Bellagio, Como");
    CopyField(Settings.BeginDate, "01.05.26");
    CopyField(Settings.EndDate, "04.05.26");
    CopyField(Settings.Arbiter, "Ferri, Giovanni");
    CopyField(Settings.BaseName, "lago");
    UseDataFolder(folderName);
    ClosedRegistration = 1;
}

// Standings: 1 (3.0), 4 (2.5), 6 (2.0), 3, 5, 7 (1.5 each, by Buchholz cut 1),
// 2 (0.5). Pairing numbers by rating: 1, 2, 3, 5, 4, 7, 6.
inline void SetUpSwissRatingTournament(const std::string& folderName) {
    SetRatedTournamentTexts(folderName);
    Settings.PairingSystem = FideDubovSystem;
    const RatedEntry players[] = {
        {"Rossi, Mario", 2310, 2300, 10, "FM", 'M', "12.03.85", 3.0f, 7.5f, -3.6f},
        {"Bianchi Anna", 2150, 2140, 15, "WIM", 'F', "07.11.90", 0.5f, 8.0f, -7.0f},
        {"Verdi Luca", 2050, 2000, 20, "CM", 'M', "00.00.00", 1.5f, 7.0f, -12.0f},
        {"Neri Paolo", 0, 1800, 20, "1N", 'M', "30.06.01", 2.5f, 6.0f, 0.0f},
        {"Gialli Sara", 1900, 1890, 20, "", '\0', "21.02.99", 1.5f, 6.5f, -2.9f},
        {"M\xFCller Hans", 0, 1500, 0, "2N", 'M', "15.08.70", 2.0f, 5.5f, 0.0f},
        {"Viola Ugo Emanuele Fil", 1700, 1650, 20, "", 'M', "01.01.60", 1.5f, 5.0f, 5.5f},
    };
    AddRatedPlayers(players);
    Players[7].available = 0; // withdrew after round 2
    SetTestBoard(1, 1, 1, 5, WhiteWins);
    SetTestBoard(1, 2, 2, 4, BlackWins);
    SetTestBoard(1, 3, 3, 7, BlackWins);
    SetTestBoard(1, 4, 6, 0, WhiteWinsForfeit); // the BYE
    SetTestBoard(2, 1, 7, 1, Draw);
    SetTestBoard(2, 2, 4, 3, Draw);
    SetTestBoard(2, 3, 5, 2, WhiteWinsForfeit);
    SetTestBoard(2, 4, 6, 0, HalfNoGame);
    SetTestBoard(3, 1, 1, 2, Draw);
    SetTestBoard(3, 2, 3, 6, WhiteWins);
    SetTestBoard(3, 3, 5, 4, BlackWins);
    SetTestBoard(4, 1, 1, 4, WhiteWins);
    SetTestBoard(4, 2, 6, 5, Draw);
    SetTestBoard(4, 3, 2, 3, BothForfeit);
    for (int r = 1; r <= 4; ++r)
        RebuildRoundTables(r);
    SetCurrentRound(4);
}

// Standings: 3 (2.0), 4 and 2 (1.5 each, by Buchholz cut 1), 1 (1.0), 5 (0).
inline void SetUpRoundRobinRatingTournament(const std::string& folderName) {
    SetRatedTournamentTexts(folderName);
    Settings.PairingSystem = SingleRoundRobinSystem;
    const RatedEntry players[] = {
        {"Conti Elena", 2200, 2180, 10, "IM", 'F', "03.04.88", 1.0f, 2.0f, -4.0f},
        {"Greco Dario", 2100, 2090, 0, "FM", 'M', "19.09.93", 1.5f, 3.0f, 0.0f},
        {"Marino Ivo", 2000, 1980, 20, "", 'M', "11.12.02", 2.0f, 3.0f, -2.4f},
        {"Lombardi Rita", 1950, 1940, 20, "1N", 'F', "28.02.97", 1.5f, 3.5f, 9.0f},
        {"Costa Piero", 0, 1600, 40, "3N", 'M', "00.00.00", 0.0f, 4.5f, 0.0f},
    };
    AddRatedPlayers(players);
    SetTestBoard(1, 1, 1, 0, BothForfeit); // the round robin's BYE
    SetTestBoard(1, 2, 2, 5, WhiteWins);
    SetTestBoard(1, 3, 3, 4, Draw);
    SetTestBoard(2, 1, 5, 3, BlackWins);
    SetTestBoard(2, 2, 4, 1, WhiteWins);
    SetTestBoard(2, 3, 2, 0, BothForfeit);
    SetTestBoard(3, 1, 1, 5, WhiteWinsForfeit);
    SetTestBoard(3, 2, 3, 2, Draw);
    SetTestBoard(3, 3, 4, 0, BothForfeit);
    for (int r = 1; r <= 3; ++r)
        RebuildRoundTables(r);
    SetCurrentRound(3);
    // The Swiss tables hold other games: a round robin must not read them.
    for (int id = 1; id <= 5; ++id)
        for (int r = 1; r <= 3; ++r) {
            OpponentTable(SwissInstance, id, r) = 6 - id;
            PlayerResultTable(SwissInstance, id, r) = WinAtBoard;
            ColorHistory(SwissInstance, id, r) = 1;
        }
}

// The lines of a report file, split at its CR LF line ends.
inline std::vector<std::string> FileLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// The comma-separated fields of a line.
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line)
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    return fields;
}
