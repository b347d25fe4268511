// The results screen's figures as the recorded runs leave the player's record.
#include <gtest/gtest.h>

#include <string>

#include "game/Velkor_DataManager.h"
#include "game/Velkor_GameOverLevel.h"

namespace {

TEST(ResultsText, MarksANewOrEqualledBestDistanceAndOnlyAStrictlyBetterScore) {
  PlayerData player;
  // Nothing recorded yet: a distance of 0 equals the best of 0.
  EXPECT_EQ(GameOverLevel::FormatResults(player), "0 **NEW HIGHSCORE**\n0\n\n0\n0\n\n0\n0\n\n");

  // A first run beats everything.
  player.totalGears = 5;
  player.lastGears = 5;
  player.lastDistance = 120;
  player.bestDistance = 120;
  player.lastScore = 3;
  player.bestScore = 3;
  player.newHighScore = 1;
  EXPECT_EQ(GameOverLevel::FormatResults(player),
            "120 **NEW HIGHSCORE**\n120\n\n5\n5\n\n3 **NEW HIGHSCORE**\n3\n\n");

  // A shorter run with an equal score: neither line is marked.
  player.totalGears = 7;
  player.lastGears = 2;
  player.lastDistance = 80;
  player.newHighScore = 0;
  EXPECT_EQ(GameOverLevel::FormatResults(player), "120\n80\n\n7\n2\n\n3\n3\n\n");

  // Equalling the best distance counts as a new best; negative figures keep their sign.
  player.lastDistance = 120;
  player.lastScore = -1;
  EXPECT_EQ(GameOverLevel::FormatResults(player), "120 **NEW HIGHSCORE**\n120\n\n7\n2\n\n3\n-1\n\n");
}

}  // namespace
