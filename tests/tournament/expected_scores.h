// Hand-computed values of one player's PlayerScore, and the check of a
// computed record against them (the rating variation is left out: the
// score tests give their players K 0). Header only.
#pragma once

#include "tournament/round_tables.h"

#include <gtest/gtest.h>

struct ExpectedScores {
    float score, cumulative, mostWins, mostBlacks, aro;
    float total, cut1, median, sonnebornBerger;
    float performance, apro;
};

inline void ExpectScores(const PlayerScore& got, const ExpectedScores& want) {
    EXPECT_FLOAT_EQ(got.score, want.score);
    EXPECT_FLOAT_EQ(got.cumulative, want.cumulative);
    EXPECT_FLOAT_EQ(got.mostWins, want.mostWins);
    EXPECT_FLOAT_EQ(got.mostBlacks, want.mostBlacks);
    EXPECT_FLOAT_EQ(got.aro, want.aro);
    EXPECT_FLOAT_EQ(got.buchholzTotal, want.total);
    EXPECT_FLOAT_EQ(got.buchholzCut1, want.cut1);
    EXPECT_FLOAT_EQ(got.buchholzMedian, want.median);
    EXPECT_FLOAT_EQ(got.sonnebornBerger, want.sonnebornBerger);
    EXPECT_FLOAT_EQ(got.performance, want.performance);
    EXPECT_FLOAT_EQ(got.apro, want.apro);
}
