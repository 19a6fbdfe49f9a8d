// Two small played tournaments for the standing reports, with their scores
// computed by the tournament model. Header only.
//
// The Swiss one has seven players over three saved rounds: a BYE, a forfeit,
// a double forfeit, a draw, a player who withdrew after round 2, a name of
// 21 characters, titles of several categories and birth dates in every form
// a record may hold. The round robin is a double one of four players after
// four of its six rounds, with a double forfeit and a withdrawn player whose
// last game was forfeited.
#pragma once

#include "report_tournament.h"
#include "tournament/round_robin_scores.h"
#include "tournament/scores.h"
#include "tournament/standing_reports.h"

inline void SetPlayerData(int id, const char* title, const char* country, const char* birthDate) {
    CopyField(Players[id].title, title);
    CopyField(Players[id].country, country);
    CopyField(Players[id].birthDate, birthDate);
    Players[id].categoryRank = TitleRank(Players[id].title);
}

inline void SaveTestRound(int round) {
    SetCurrentRound(round);
    RebuildRoundTables(round);
}

inline void SetUpSwissStandings(const std::string& folderName) {
    ResetTournamentState();
    ResetStandingReports();
    CopyField(Settings.Name, "Spring Open");
    CopyField(Settings.Place, "Torino");
    CopyField(Settings.BeginDate, "10.04.26");
    CopyField(Settings.EndDate, "12.04.26");
    Settings.PairingSystem = FideDubovSystem;
    Settings.PlannedRounds = 5;
    const int order[] = {BuchholzCut1TieBreak, SonnebornBergerTieBreak, MostWinsTieBreak, 0};
    std::copy(std::begin(order), std::end(order), Settings.TieBreakOrder);
    UseDataFolder(folderName);
    AddTestPlayer("Rossi Mario", 2480);
    AddTestPlayer("Bianchi Luigi", 2390);
    AddTestPlayer("Verdi Giuseppe Antoni", 2310); // 21 characters
    AddTestPlayer("Neri Paolo", 2150);
    AddTestPlayer("Gialli Anna", 2000);
    AddTestPlayer("M\xDCller Hans", 1900);
    AddTestPlayer("Blu Carla", 1850);
    SetPlayerData(1, "GM", "ITA", "03.07.81");
    SetPlayerData(2, "IM", "ITA", "21.11.99");
    SetPlayerData(3, "FM", "SUI", "150305"); // typed as six digits
    SetPlayerData(4, "", "ITA", "00.00.00"); // not given
    SetPlayerData(5, "1N", "ITA", "29.02.12");
    SetPlayerData(6, "", "GER", "01.01.60");
    SetPlayerData(7, "1N", "ITA", "31.12.26");

    SetTestBoard(1, 1, 1, 5, WhiteWins);
    SetTestBoard(1, 2, 6, 2, Draw);
    SetTestBoard(1, 3, 3, 7, BlackWins);
    SetTestBoard(1, 4, 4, 0, WhiteWinsForfeit); // the BYE
    SaveTestRound(1);
    SetTestBoard(2, 1, 2, 1, BlackWins);
    SetTestBoard(2, 2, 5, 3, BothForfeit);
    SetTestBoard(2, 3, 4, 6, WhiteWins);
    SetTestBoard(2, 4, 7, 0, WhiteWinsForfeit);
    SaveTestRound(2);
    Players[4].available = 0; // withdrew before round 3
    SetTestBoard(3, 1, 1, 7, Draw);
    SetTestBoard(3, 2, 3, 2, WhiteWins);
    SetTestBoard(3, 3, 6, 5, WhiteWinsForfeit);
    SaveTestRound(3);
    ComputeScores(3, PlayerCount);
}

inline void SetUpRoundRobinStandings(const std::string& folderName) {
    ResetTournamentState();
    ResetStandingReports();
    CopyField(Settings.Name, "Club Masters");
    CopyField(Settings.Place, "Bern");
    CopyField(Settings.BeginDate, "02.03.26");
    CopyField(Settings.EndDate, "09.03.26");
    Settings.PairingSystem = DoubleRoundRobinSystem;
    const int order[] = {SonnebornBergerTieBreak, MostWinsTieBreak, 0};
    std::copy(std::begin(order), std::end(order), Settings.TieBreakOrder);
    UseDataFolder(folderName);
    AddTestPlayer("Keller Urs", 2300);
    AddTestPlayer("Frei Martina Elisabeth", 2210); // 22 characters, cut to 21
    AddTestPlayer("Weber Jan", 2105);
    AddTestPlayer("Z\xFCrcher Beat", 1990);
    SetPlayerData(1, "FM", "SUI", "00.00.00");
    SetPlayerData(2, "WIM", "SUI", "00.00.00");
    SetPlayerData(3, "", "GER", "00.00.00");
    SetPlayerData(4, "", "SUI", "00.00.00");

    SetTestBoard(1, 1, 1, 4, WhiteWins);
    SetTestBoard(1, 2, 2, 3, Draw);
    SaveTestRound(1);
    SetTestBoard(2, 1, 4, 3, BothForfeit);
    SetTestBoard(2, 2, 1, 2, BlackWins);
    SaveTestRound(2);
    SetTestBoard(3, 1, 2, 4, WhiteWins);
    SetTestBoard(3, 2, 3, 1, Draw);
    SaveTestRound(3);
    Players[4].available = 0; // withdrew; his last game is forfeited
    SetTestBoard(4, 1, 4, 1, BlackWinsForfeit);
    SetTestBoard(4, 2, 3, 2, WhiteWins);
    SaveTestRound(4);
    ComputeRoundRobinTieBreaks(4, PlayerCount);
}
