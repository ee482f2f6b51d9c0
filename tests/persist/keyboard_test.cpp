// The on-screen keyboard's hit test and key effects, without the screen.
#include "persist/keyboard.h"

#include <gtest/gtest.h>

#include <string>

#include "persist/keyboard_fixture.h"
#include "persist/name_entry.h"

namespace {

using namespace keyboard_testing;

int keyAt(int x, int y) {
    platform::Rect unused;
    return findKey(x, y, &unused);
}

// Index of the key whose rectangle findKey reports for (x, y); -1 for a miss.
int keyIndexAt(int x, int y) {
    platform::Rect r = {-1, -1, -1, -1};
    if (findKey(x, y, &r) == kKeyNone) return -1;
    for (int i = 0; i < kKeyCount; ++i) {
        const platform::Rect& k = kKeys[i].rect;
        if (k.left == r.left && k.top == r.top && k.right == r.right && k.bottom == r.bottom) return i;
    }
    return -2;
}

// The characters of keys first..last, read by tapping their middles.
std::string rowText(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) {
        const platform::Rect& r = kKeys[i].rect;
        text += static_cast<char>(keyAt((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    return text;
}

class FindKeyTest : public ::testing::Test {
  protected:
    void SetUp() override { resetKeyboardState(); }
};

// Five rows on a pitch of 17 from the top; in a row every key starts on its left neighbour's last
// column, the row runs from 0 to 240, and all its keys end on one line (Enter alone reaches one lower).
TEST_F(FindKeyTest, KeysTileEachRowSharingOneColumnWithTheirNeighbour) {
    int row = -1;
    for (int i = 0; i < kKeyCount; ++i) {
        const platform::Rect& r = kKeys[i].rect;
        const platform::Rect* left = i > 0 ? &kKeys[i - 1].rect : nullptr;
        if (r.left == 0) {
            ++row;
            if (left) {
                EXPECT_EQ(left->right, 240) << "key " << i - 1;
            }
        } else {
            EXPECT_EQ(r.left, left->right - 1) << "key " << i;
            EXPECT_EQ(r.bottom - (kKeys[i].smallCase == kKeyEnter && row == 2), left->bottom) << "key " << i;
        }
        EXPECT_EQ(r.top, 17 * row) << "key " << i;
    }
    EXPECT_EQ(row, 4);
    EXPECT_EQ(kKeys[kKeyCount - 1].rect.right, 240);
}

TEST_F(FindKeyTest, NoPointLiesInsideTwoKeysAndEveryKeyCanBeHit) {
    int hits[kKeyCount] = {};
    for (int y = -1; y <= 87; ++y) {
        for (int x = -1; x <= 241; ++x) {
            int inside = 0;
            for (const Key& k : kKeys) {
                inside += k.rect.left < x && x < k.rect.right && k.rect.top < y && y < k.rect.bottom;
            }
            ASSERT_LE(inside, 1) << "at " << x << ", " << y;
            const int index = keyIndexAt(x, y);
            ASSERT_NE(index, -2);
            if (index >= 0) ++hits[index];
        }
    }
    for (int i = 0; i < kKeyCount; ++i) EXPECT_GT(hits[i], 0) << "key " << i;
}

TEST_F(FindKeyTest, SharedLinesGoToTheKeyOnTheLeftOrAbove) {
    EXPECT_EQ(keyIndexAt(17, 9), 0);
    EXPECT_EQ(keyIndexAt(18, 9), 1);
    EXPECT_EQ(keyIndexAt(221, 9), 12);
    EXPECT_EQ(keyIndexAt(222, 9), 13);
    EXPECT_EQ(keyIndexAt(9, 17), 0);
    EXPECT_EQ(keyIndexAt(9, 18), 14);
    EXPECT_EQ(keyIndexAt(29, 40), 27);  // Caps | a
    EXPECT_EQ(keyIndexAt(30, 40), 28);
    EXPECT_EQ(keyIndexAt(204, 75), 53);  // space | blank
    EXPECT_EQ(keyIndexAt(205, 75), 54);
}

TEST_F(FindKeyTest, OutermostLinesAndEdgesHitNothing) {
    for (int y = 0; y < 86; ++y) EXPECT_EQ(keyAt(0, y), kKeyNone) << y;
    for (int x = 0; x < 240; ++x) EXPECT_EQ(keyAt(x, 0), kKeyNone) << x;
    EXPECT_EQ(keyAt(240, 9), kKeyNone);
    EXPECT_EQ(keyAt(100, 86), kKeyNone);
    EXPECT_EQ(keyAt(100, -60), kKeyNone);  // the edit box, above the keyboard
}

TEST_F(FindKeyTest, ThirdRowEnterReachesOneLineLower) {
    EXPECT_EQ(keyIndexAt(220, 51), 39);
    EXPECT_EQ(keyAt(220, 51), kKeyEnter);
    EXPECT_EQ(keyIndexAt(220, 52), 51);
    EXPECT_EQ(keyIndexAt(100, 51), -1);  // rows 2 and 3 abut without sharing this line
    EXPECT_EQ(keyIndexAt(100, 68), -1);
}

TEST_F(FindKeyTest, MissLeavesTheRectangleAlone) {
    platform::Rect r = {1, 2, 3, 4};
    EXPECT_EQ(findKey(0, 10, &r), kKeyNone);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.bottom, 4);
}

TEST_F(FindKeyTest, RowsReadAsTheKeyboardInEachCase) {
    EXPECT_EQ(rowText(0, 12), "`1234567890-=");
    EXPECT_EQ(rowText(14, 26), "\\qwertyuiop[]");
    EXPECT_EQ(rowText(28, 38), "asdfghjkl;'");
    EXPECT_EQ(rowText(41, 50), "zxcvbnm,./");
    EXPECT_EQ(rowText(53, 53), " ");
    setKeyboardCase(1);
    EXPECT_EQ(rowText(0, 12), "~!@#$%^&*()_+");
    EXPECT_EQ(rowText(14, 26), "|QWERTYUIOP{}");
    EXPECT_EQ(rowText(28, 38), "ASDFGHJKL:\"");
    EXPECT_EQ(rowText(41, 50), "ZXCVBNM<>?");
    EXPECT_EQ(rowText(53, 53), " ");
}

TEST_F(FindKeyTest, ControlKeysAreTheSameInBothCases) {
    for (int c = 0; c < 2; ++c) {
        setKeyboardCase(c);
        EXPECT_EQ(keyAt(230, 9), kKeyBackspace);
        EXPECT_EQ(keyAt(15, 42), kKeyCaps);
        EXPECT_EQ(keyAt(18, 60), kKeyShift);
        EXPECT_EQ(keyAt(225, 42), kKeyEnter);
        EXPECT_EQ(keyAt(225, 60), kKeyEnter);
        EXPECT_EQ(keyAt(18, 77), kKeyBlank);
        EXPECT_EQ(keyAt(220, 77), kKeyBlank);
    }
}

// Presses keys one after another as the entry does: the code for the case in force at each press.
class ApplyKeyTest : public ::testing::Test {
  protected:
    void SetUp() override { resetKeyboardState(); }
    int press(int index) {
        const platform::Rect& r = kKeys[index].rect;
        return applyKey(keyAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), text, 10);
    }
    char text[20] = {};
};

TEST_F(ApplyKeyTest, ShiftGivesOneCapitalThenSmallCaseAgain) {
    press(kKeyIndexShift);
    EXPECT_EQ(keyboardCase(), 1);
    EXPECT_TRUE(keyboardShiftPending());
    press(kKeyIndexA);
    press(kKeyIndexA);
    EXPECT_STREQ(text, "Aa");
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_FALSE(keyboardShiftPending());
}

TEST_F(ApplyKeyTest, CapsGivesCapitalsUntilPressedAgain) {
    press(kKeyIndexCaps);
    press(kKeyIndexA);
    press(kKeyIndexQ);
    EXPECT_EQ(keyboardCase(), 1);
    press(kKeyIndexCaps);
    press(kKeyIndexA);
    EXPECT_STREQ(text, "AQa");
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_FALSE(keyboardShiftPending());
}

TEST_F(ApplyKeyTest, ShiftInLargeCaseGivesOneSmallLetter) {
    setKeyboardCase(1);
    press(kKeyIndexShift);
    press(kKeyIndexA);
    press(kKeyIndexA);
    EXPECT_STREQ(text, "aA");
}

TEST_F(ApplyKeyTest, ShiftTwiceLeavesTheShiftPendingForTheNextKey) {
    press(kKeyIndexShift);
    press(kKeyIndexShift);
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_TRUE(keyboardShiftPending());
    press(kKeyIndexA);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(keyboardCase(), 1);
    EXPECT_FALSE(keyboardShiftPending());
}

TEST_F(ApplyKeyTest, CapsDoesNotEndAPendingShift) {
    press(kKeyIndexShift);
    press(kKeyIndexCaps);
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_TRUE(keyboardShiftPending());
    press(kKeyIndexA);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(keyboardCase(), 1);
}

TEST_F(ApplyKeyTest, ShiftThenBackspaceRemovesOneAndFlipsBack) {
    press(kKeyIndexA);
    press(kKeyIndexQ);
    press(kKeyIndexShift);
    press(kKeyIndexBackspace);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_FALSE(keyboardShiftPending());
}

TEST_F(ApplyKeyTest, BackspaceOnAnEmptyNameDoesNothing) {
    EXPECT_EQ(press(kKeyIndexBackspace), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(text[1], '\0');
    EXPECT_EQ(keyboardCase(), 0);
}

TEST_F(ApplyKeyTest, EleventhCharacterIsIgnored) {
    for (int i = 0; i < 11; ++i) press(i == 10 ? kKeyIndexQ : kKeyIndexA);
    EXPECT_STREQ(text, "aaaaaaaaaa");
    EXPECT_EQ(text[11], '\0');
    press(kKeyIndexShift);
    press(kKeyIndexSpace);
    EXPECT_STREQ(text, "aaaaaaaaaa");
    EXPECT_EQ(keyboardCase(), 0);  // an ignored character still ends the Shift
}

TEST_F(ApplyKeyTest, BlankKeysTypeNothingAndEndAPendingShift) {
    press(kKeyIndexShift);
    press(kKeyIndexBlankLeft);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_FALSE(keyboardShiftPending());
    press(kKeyIndexShift);
    press(54);
    EXPECT_EQ(keyboardCase(), 0);
    EXPECT_FALSE(keyboardShiftPending());
}

TEST_F(ApplyKeyTest, EnterFinishesAndKeepsAPendingShift) {
    press(kKeyIndexShift);
    EXPECT_EQ(press(kKeyIndexEnter4), 1);
    EXPECT_EQ(press(kKeyIndexEnter3), 1);
    EXPECT_EQ(keyboardCase(), 1);
    EXPECT_TRUE(keyboardShiftPending());
    EXPECT_STREQ(text, "");
}

TEST_F(ApplyKeyTest, SpaceAndPunctuationAreTyped) {
    press(kKeyIndexA);
    press(kKeyIndexSpace);
    press(kKeyIndexShift);
    press(0);
    EXPECT_STREQ(text, "a ~");
}

}  // namespace
