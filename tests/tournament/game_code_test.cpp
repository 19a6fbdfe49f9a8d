#include "tournament/game_code.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GameCode, PacksAndUnpacksEveryResultDigit) {
    RecordingMessageBox boxes;
    for (int digit = 0; digit <= 9; ++digit) {
        int code = EncodeGameCode(12, 7, digit);
        EXPECT_EQ(code, 12 * 10000 + 7 * 10 + digit);
        int white = -1, black = -1, d = -1;
        EXPECT_EQ(DecodeGameCode(code, white, black, d), 12);
        EXPECT_EQ(white, 12);
        EXPECT_EQ(black, 7);
        EXPECT_EQ(d, digit);
    }
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST(GameCode, RoundTripsIdsAtTheLimits) {
    RecordingMessageBox boxes;
    const int ids[] = {0, 1, 9, 10, 99, 100, 998, 999};
    for (int white : ids)
        for (int black : ids)
            for (int digit : {0, 5, 9}) {
                int w, b, d;
                DecodeGameCode(EncodeGameCode(white, black, digit), w, b, d);
                EXPECT_EQ(w, white);
                EXPECT_EQ(b, black);
                EXPECT_EQ(d, digit);
            }
    EXPECT_EQ(EncodeGameCode(999, 0, WhiteWinsForfeit), 9990003);
    EXPECT_EQ(EncodeGameCode(999, 999, NotPlayed), 9999999);
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST(GameCode, UnpackableIdsAlertAndGiveAnEmptyBoard) {
    RecordingMessageBox boxes;
    SetMessageText(MsgPlayerNumberTooHigh, "Player number too big");
    SetMessageText(MsgClose, "OK");
    EXPECT_EQ(EncodeGameCode(1000, 5, 1), EmptyGameCode);
    EXPECT_EQ(EncodeGameCode(5, 1000, 1), EmptyGameCode);
    EXPECT_EQ(EncodeGameCode(-1, 5, 1), EmptyGameCode);
    EXPECT_EQ(EncodeGameCode(5, 6, 10), EmptyGameCode);
    ASSERT_EQ(boxes.alerts.size(), 4u);
    EXPECT_EQ(boxes.alerts[0].text, "Player number too big");
    EXPECT_EQ(boxes.alerts[0].caption, "OK");
    int w, b, d;
    DecodeGameCode(EmptyGameCode, w, b, d);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(d, NotPlayed);
    ClearMessageTable();
}

TEST(GameCode, ByeBoardsHaveIdZeroOnEitherSide) {
    EXPECT_TRUE(IsByeCode(EncodeGameCode(17, 0, WhiteWinsForfeit)));
    EXPECT_TRUE(IsByeCode(EncodeGameCode(0, 17, BlackWinsForfeit)));
    EXPECT_FALSE(IsByeCode(EncodeGameCode(17, 18, NotPlayed)));
}

TEST(GameCode, ResultTextsAreFiveWindows1252Characters) {
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(std::strlen(ResultText(digit)), 5u) << digit;
    // The half is the single byte 0xBD, never a UTF-8 sequence.
    EXPECT_STREQ(ResultText(Draw), "\xBD - \xBD");
    EXPECT_STREQ(ResultText(HalfEachUnplayed), "\xBD"
                                               "F-F\xBD");
    EXPECT_STREQ(ResultText(WhiteWinsForfeit), "1F- 0");
    EXPECT_STREQ(ResultText(-1), " ... ");
    EXPECT_STREQ(ResultText(10), " ... ");
}

} // namespace
