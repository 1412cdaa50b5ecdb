#include <gtest/gtest.h>

#include "editor/sound_lists.h"
#include "support/temp_dir.h"

using namespace qora::editor;
using qora::testing::native;

namespace {
using List = std::vector<std::string>;
}

TEST(SoundLists, OrderIgnoresLetterCaseAndLookupsToo) {
    List list{"zz.wav", "B.wav", "a.wav", "b.wav", "\xC9t\xE9.wav", "A.wav"};
    sortSounds(list);
    EXPECT_EQ(list, (List{"A.wav", "a.wav", "B.wav", "b.wav", "zz.wav", "\xC9t\xE9.wav"}));
    EXPECT_EQ(findSound(list, "ZZ.WAV"), 4);
    EXPECT_EQ(findSound(list, "\xE9t\xC9.WAV"), 5);
    EXPECT_EQ(findSound(list, "zz"), -1);

    EXPECT_TRUE(addSound(list, "Mid"));
    EXPECT_EQ(list[4], "Mid.wav");
    EXPECT_EQ(soundToAdd(list, "mid.WAV"), std::nullopt);
    EXPECT_EQ(soundToAdd(list, "x.wav.wav"), std::nullopt);
    EXPECT_EQ(soundToAdd(list, "\tnew.Wav\r"), "new.Wav");

    EXPECT_TRUE(deleteSound(list, " MID.wav "));
    EXPECT_EQ(findSound(list, "Mid.wav"), -1);
    EXPECT_FALSE(deleteSound(list, "Mid.wav"));
}

TEST(SoundLists, SoundPathAndMessages) {
    EXPECT_EQ(soundPath(native("/game/Sounds"), "idle.wav"), native("/game/Sounds/idle.wav"));
    EXPECT_EQ(soundPath(native("/game/Sounds/"), "idle.wav"), native("/game/Sounds/idle.wav"));
    EXPECT_EQ(soundPath("", "idle.wav"), native("/idle.wav"));
    EXPECT_EQ(missingSoundText("/idle.wav"),
              "Could not find file [/idle.wav].  Check your Sounds folder in QORA preferences.");
}
