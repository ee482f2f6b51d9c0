// The text of the self-deleting batch, byte for byte, and its size limit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "uninstall_logic.h"

namespace {

using uninstaller::buildBatchText;
using uninstaller::noLeadBytes;
using uninstaller::planUninstall;
using uninstaller::Refusal;

TEST(BatchText, ListsTheSixLinesForTheProductFolder) {
    const auto plan = planUninstall("D:\\Apps\\Demo\\uninst.exe", noLeadBytes);
    ASSERT_EQ(plan.refusal, Refusal::none);
    EXPECT_EQ(plan.keyName, "Demo");
    EXPECT_EQ(plan.batchText,
              ":Repeat\r\n"
              "del \"D:\\Apps\\Demo\\uninst.exe\"\r\n"
              "if exist \"D:\\Apps\\Demo\\uninst.exe\" goto Repeat\r\n"
              "del \"D:\\Apps\\Demo\\*.*\" /F /S /Q\r\n"
              "rmdir \"D:\\Apps\\Demo\"\r\n"
              "del \"\\DelUS.bat\"\r\n");
    EXPECT_EQ(plan.batchText.size(), std::strlen(plan.batchText.c_str())) << "no terminating zero is written";
}

TEST(BatchText, PathsWithSpacesStayWholeInsideQuotes) {
    std::string text;
    ASSERT_TRUE(
        buildBatchText("C:\\Program Files\\My Demo\\un inst.exe", "C:\\Program Files\\My Demo", &text));
    EXPECT_NE(text.find("del \"C:\\Program Files\\My Demo\\un inst.exe\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("rmdir \"C:\\Program Files\\My Demo\"\r\n"), std::string::npos);
}

TEST(BatchText, PercentSignsAreDoubledSoTheInterpreterKeepsThem) {
    std::string text;
    ASSERT_TRUE(buildBatchText("C:\\Apps\\Demo %OS% 50%\\uninst.exe", "C:\\Apps\\Demo %OS% 50%", &text));
    EXPECT_NE(text.find("if exist \"C:\\Apps\\Demo %%OS%% 50%%\\uninst.exe\" goto Repeat\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("del \"C:\\Apps\\Demo %%OS%% 50%%\\*.*\" /F /S /Q\r\n"), std::string::npos);
    EXPECT_NE(text.find("rmdir \"C:\\Apps\\Demo %%OS%% 50%%\"\r\n"), std::string::npos);
    EXPECT_EQ(uninstaller::escapeForBatch("%%"), "%%%%");
}

// An own path "D:\aaa...\<file>" whose folder path has folderLength characters; 'fill' is the folder's last
// one.
std::string ownPathOf(std::size_t folderLength, const std::string& file, char fill = 'a') {
    std::string folder = "D:\\" + std::string(folderLength - 4, 'a') + fill;
    return folder + "\\" + file;
}

TEST(BatchText, FitsUpTo991BytesPlusItsTerminator) {
    // The six lines hold 91 fixed bytes and each path twice: 91 + 2 * (223 + 6) + 2 * 222 = 991.
    const auto fits = planUninstall(ownPathOf(222, "u.exe"), noLeadBytes);
    ASSERT_EQ(fits.refusal, Refusal::none);
    EXPECT_EQ(fits.batchText.size(), 991u);
    // The text length is always odd, so the next longer one is 993 bytes.
    const auto tooLong = planUninstall(ownPathOf(222, "uu.exe"), noLeadBytes);
    EXPECT_EQ(tooLong.refusal, Refusal::batchTooLong);
    EXPECT_TRUE(tooLong.keyName.empty()) << "a refused plan must leave the registry alone";
    EXPECT_TRUE(tooLong.batchText.empty());
}

TEST(BatchText, EscapedPercentSignsCountTowardsTheLimit) {
    const auto plan = planUninstall(ownPathOf(222, "u.exe", '%'), noLeadBytes);
    EXPECT_EQ(plan.refusal, Refusal::batchTooLong);
}

TEST(BatchText, TooLongTextLeavesTheOutputUntouched) {
    std::string text = "unchanged";
    EXPECT_FALSE(buildBatchText(std::string(500, 'p'), std::string(499, 'f'), &text));
    EXPECT_EQ(text, "unchanged");
}

}  // namespace
