// Which key and folder the uninstaller takes from its own path, and which targets it refuses.
#include <gtest/gtest.h>

#include <string>

#include "uninstall_logic.h"

namespace {

using uninstaller::folderPartOf;
using uninstaller::folderPathOf;
using uninstaller::keyNameOf;
using uninstaller::noLeadBytes;
using uninstaller::planUninstall;
using uninstaller::Refusal;

// Lead bytes of a Japanese double-byte code page; their trail bytes include 0x5C, the backslash.
bool isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const std::string kHyo = "\x95\x5C";  // one double-byte character whose second byte is a backslash
const std::string kJi = "\x8E\xA6";

struct PathCase {
    const char* ownPath;
    const char* folderPart;
    const char* keyName;
    const char* folderPath;
};

const PathCase kPathCases[] = {
    {"D:\\Apps\\Demo\\uninst.exe", "\\Apps\\Demo\\", "Demo", "D:\\Apps\\Demo"},
    {"D:\\Demo\\uninst.exe", "\\Demo\\", "Demo", "D:\\Demo"},
    {"C:\\Program Files\\My Demo App\\uninst.exe", "\\Program Files\\My Demo App\\", "My Demo App",
     "C:\\Program Files\\My Demo App"},
    {"C:\\Apps\\Demo %OS% 50%\\uninst.exe", "\\Apps\\Demo %OS% 50%\\", "Demo %OS% 50%",
     "C:\\Apps\\Demo %OS% 50%"},
    {"\\\\server\\share\\Demo\\uninst.exe", "\\\\server\\share\\Demo\\", "Demo", "\\\\server\\share\\Demo"},
    {"D:\\uninst.exe", "\\", "", "D:"},
};

TEST(UninstallPaths, SplitsTheOwnPathIntoFolderPartKeyNameAndFolderPath) {
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(c.ownPath);
        const std::string folderPart = folderPartOf(c.ownPath, noLeadBytes);
        EXPECT_EQ(folderPart, c.folderPart);
        EXPECT_EQ(keyNameOf(folderPart, noLeadBytes), c.keyName);
        EXPECT_EQ(folderPathOf(c.ownPath, noLeadBytes), c.folderPath);
    }
}

TEST(UninstallPaths, FolderPartEndsAtTheLastSlashOrBackslash) {
    EXPECT_EQ(folderPartOf("D:\\Apps/Demo/uninst.exe", noLeadBytes), "\\Apps/Demo/");
    EXPECT_EQ(folderPartOf("uninst.exe", noLeadBytes), "");
}

TEST(UninstallPaths, KeyNameWithoutAnyBackslashDropsTheFirstCharacter) {
    EXPECT_EQ(keyNameOf("\\Demo\\", noLeadBytes), "Demo");
    EXPECT_EQ(keyNameOf("xDemo", noLeadBytes), "Demo");
    EXPECT_EQ(keyNameOf("\\", noLeadBytes), "");
    EXPECT_EQ(keyNameOf("", noLeadBytes), "");
}

TEST(UninstallPaths, DoubleByteCharactersAreNeverSplitAtTheirTrailByte) {
    const std::string ownPath = "D:\\Apps\\" + kHyo + kJi + "\\uninst.exe";
    const std::string folderPart = folderPartOf(ownPath, isShiftJisLeadByte);
    EXPECT_EQ(folderPart, "\\Apps\\" + kHyo + kJi + "\\");
    EXPECT_EQ(keyNameOf(folderPart, isShiftJisLeadByte), kHyo + kJi);
    EXPECT_EQ(folderPathOf(ownPath, isShiftJisLeadByte), "D:\\Apps\\" + kHyo + kJi);
    // Read byte by byte, the same path names another key.
    EXPECT_EQ(keyNameOf(folderPart, noLeadBytes), kJi);
}

TEST(UninstallPaths, DoubleByteFileNameDoesNotMoveTheFolder) {
    const std::string ownPath = "D:\\Apps\\Demo\\" + kHyo + ".exe";
    EXPECT_EQ(folderPathOf(ownPath, isShiftJisLeadByte), "D:\\Apps\\Demo");
    EXPECT_EQ(folderPartOf(ownPath, isShiftJisLeadByte), "\\Apps\\Demo\\");
    EXPECT_EQ(folderPathOf(ownPath, noLeadBytes), "D:\\Apps\\Demo\\\x95");
}

TEST(UninstallPaths, FolderEndingInADoubleByteBackslashKeepsItsName) {
    const std::string ownPath = "D:\\Apps\\" + kHyo + "\\uninst.exe";
    const auto plan = planUninstall(ownPath, isShiftJisLeadByte);
    EXPECT_EQ(plan.refusal, Refusal::none);
    EXPECT_EQ(plan.keyName, kHyo);
}

TEST(UninstallPaths, LeadByteAtTheVeryEndIsNotReadPastTheString) {
    EXPECT_EQ(folderPathOf("D:\\Apps\\Demo\\x\x95", isShiftJisLeadByte), "D:\\Apps\\Demo");
    EXPECT_EQ(keyNameOf("\\Apps\\\x95", isShiftJisLeadByte), "\x95");
}

// Every spelling of a drive or share root, read with a double-byte code page: the share name of the last case
// holds a backslash trail byte, which must not count as a folder below the share.
TEST(UninstallRefusal, RootOfADriveOrShareChangesNothing) {
    const std::string roots[] = {"D:\\uninst.exe",
                                 "D:\\\\uninst.exe",
                                 "\\\\?\\D:\\uninst.exe",
                                 "\\\\.\\D:\\uninst.exe",
                                 "\\\\?\\Volume{1b3c}\\uninst.exe",
                                 "uninst.exe",
                                 "\\\\server\\uninst.exe",
                                 "\\\\server\\share\\uninst.exe",
                                 "\\\\server\\share\\\\uninst.exe",
                                 "\\\\server\\\\share\\uninst.exe",
                                 "\\\\?\\UNC\\server\\share\\uninst.exe",
                                 "\\\\?\\UNC\\server\\share\\\\uninst.exe",
                                 "\\\\?\\unc\\server\\share\\uninst.exe",
                                 "\\\\.\\UNC\\server\\share\\uninst.exe",
                                 "\\\\?\\UNC\\server\\uninst.exe",
                                 "\\\\server\\" + kHyo + kJi + "\\uninst.exe",
                                 "\\\\?\\UNC\\server\\" + kHyo + kJi + "\\uninst.exe"};
    for (const std::string& ownPath : roots) {
        SCOPED_TRACE(ownPath);
        const auto plan = planUninstall(ownPath, isShiftJisLeadByte);
        EXPECT_EQ(plan.refusal, Refusal::rootFolder);
        EXPECT_TRUE(plan.keyName.empty());
        EXPECT_TRUE(plan.batchText.empty());
    }
    EXPECT_TRUE(uninstaller::isRootFolder("Demo", "D:", noLeadBytes))
        << "a drive root, whatever the key name";
}

TEST(UninstallRefusal, ProductFoldersAreAccepted) {
    const std::string folders[] = {"D:\\Apps\\Demo\\uninst.exe",
                                   "D:\\Demo\\uninst.exe",
                                   "\\Demo\\uninst.exe",
                                   "\\\\?\\D:\\Demo\\uninst.exe",
                                   "\\\\server\\share\\Demo\\uninst.exe",
                                   "\\\\?\\UNC\\server\\share\\Demo\\uninst.exe",
                                   "\\\\.\\UNC\\server\\share\\Demo\\uninst.exe",
                                   "\\\\server\\" + kHyo + kJi + "\\Demo\\uninst.exe"};
    for (const std::string& ownPath : folders) {
        SCOPED_TRACE(ownPath);
        const auto plan = planUninstall(ownPath, isShiftJisLeadByte);
        EXPECT_EQ(plan.refusal, Refusal::none);
        EXPECT_EQ(plan.keyName, "Demo");
        EXPECT_EQ(plan.folderPath, ownPath.substr(0, ownPath.rfind('\\')));
        EXPECT_FALSE(plan.batchText.empty());
    }
}

}  // namespace
