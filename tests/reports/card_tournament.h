// The small report tournament played through two rounds, with its scores
// computed, for the player cards, the player lists and the statistics.
// Header only.
//
// Round 1: 1-2 draw, 3-4 won by black without play, BYE 5.
// Round 2: 4-1 1-0, 2-5 0-1, BYE 3.
// So player 4 has one game at the board and won it (100 %), player 5 won
// his only game beside the BYE, and player 3 never played at the board.
#pragma once

#include "report_tournament.h"
#include "tournament/scores.h"
#include "tournament/standing_reports.h"

inline void SetUpCardTournament(const std::string& folderName) {
    SetUpReportTournament(folderName);
    SetTestBoard(2, 1, 4, 1, WhiteWins);
    SetTestBoard(2, 2, 2, 5, BlackWins);
    SetTestBoard(2, 3, 3, 0, WhiteWinsForfeit);
    RebuildRoundTables(1);
    RebuildRoundTables(2);
    IsPairingDone = 0;
    Settings.PlannedRounds = 5;
    CopyField(Settings.Arbiter, "Neri Carla");
    const char* countries[] = {"", "ITA", "ENG", "ITA", "GER", "GER"};
    const char* births[] = {"", "12.03.71", "00.00.00", "30.11.88", "01.01.02", "05.06.64"};
    const int ks[] = {0, 20, 15, 10, 40, 25};
    for (int id = 1; id <= 5; ++id) {
        CopyField(Players[id].country, countries[id]);
        CopyField(Players[id].birthDate, births[id]);
        Players[id].k = ks[id];
        Players[id].nationalId = 1000 + id;
        Players[id].categoryRank = TitleRank(Players[id].title);
    }
    ResetStandingReports();
    ComputeScores(2, PlayerCount);
}
