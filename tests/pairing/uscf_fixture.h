// The search tournament set up for system 4, with the round alerts named and
// helpers that choose the field of a round and read its boards. Header only.
#pragma once

#include "pairing/score_groups.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"

#include "search_fixture.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

class UscfFixture : public SearchFixture {
  protected:
    void SetUp() override {
        SearchFixture::SetUp();
        Settings.PairingSystem = UscfSystem;
        ClearScoreGroups(0);
        ClearMessageTable();
        SetMessageText(MsgPairingStops, "Budget spent");
        SetMessageText(MsgTopGroupCannotBePaired, "Group one");
        SetMessageText(MsgPairingAgainMerged, "Restart");
    }
    void TearDown() override {
        ClearScoreGroups(0);
        SearchFixture::TearDown();
    }
    // Only players 1..count take part in round SearchRound; scores in order.
    static void Field(std::initializer_list<float> scores) {
        int id = 0;
        for (float score : scores)
            PlayerScores[++id].score = score;
        for (int other = id + 1; other <= PlayerCount; ++other)
            Players[other].available = 0;
        SetCurrentRound(SearchRound);
    }
    // Boards of round SearchRound as (lower id, higher id), sorted.
    static std::vector<std::pair<int, int>> Boards() {
        std::vector<std::pair<int, int>> boards;
        for (int b = 1; b <= GameTable(0, SearchRound); ++b) {
            int white, black, digit;
            DecodeGameCode(GameTable(b, SearchRound), white, black, digit);
            boards.emplace_back(std::min(white, black), std::max(white, black));
        }
        std::sort(boards.begin(), boards.end());
        return boards;
    }
};
