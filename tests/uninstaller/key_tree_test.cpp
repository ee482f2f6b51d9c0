// Deletion of the product's uninstall entry against the in-memory registry.
#include "key_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "memory_registry.h"

namespace {

using uninstaller::deleteKeyTree;
using uninstaller::removeUninstallEntry;

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kProduct = kUninstall + "\\Demo";

class KeyTreeTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_EQ(registry.openHandles(), 0u) << "every opened key must be closed";
        EXPECT_EQ(registry.badCloses(), 0);
    }

    // Deletes name below the Uninstall key the way the program does, but reports the result.
    bool deleteBelowUninstall(const char* name) {
        uninstaller::RegistryKey parent = 0;
        EXPECT_TRUE(registry.openKey(registry.localMachine(), kUninstall.c_str(), 5, &parent));
        bool deleted = deleteKeyTree(registry, parent, name);
        registry.closeKey(parent);
        return deleted;
    }

    std::size_t deletionIndex(const std::string& path) const {
        const auto& done = registry.deletions();
        for (std::size_t i = 0; i < done.size(); ++i) {
            if (done[i] == path) return i;
        }
        ADD_FAILURE() << path << " was not deleted";
        return done.size();
    }

    MemoryRegistry registry;
};

TEST_F(KeyTreeTest, DeletesNestedKeysBottomUpAndLeavesSiblingsOfTheProduct) {
    registry.addKey(kProduct + "\\Level1\\Level2\\Level3");
    registry.addKey(kProduct + "\\Level1\\Other2");
    registry.addKey(kProduct + "\\Side");
    registry.addKey(kUninstall + "\\Keeper\\Inner");

    EXPECT_TRUE(deleteBelowUninstall("Demo"));

    EXPECT_FALSE(registry.hasKey(kProduct));
    EXPECT_TRUE(registry.hasKey(kUninstall + "\\Keeper\\Inner"));
    ASSERT_EQ(registry.deletions().size(), 6u);
    // Every key goes after all keys below it.
    for (const std::string& path : registry.deletions()) {
        for (const std::string& other : registry.deletions()) {
            if (other.compare(0, path.size() + 1, path + "\\") == 0) {
                EXPECT_LT(deletionIndex(other), deletionIndex(path)) << other << " before " << path;
            }
        }
    }
    EXPECT_EQ(registry.deletions().back(), kProduct);
}

TEST_F(KeyTreeTest, OpensTheProductKeyWithFullAccess) {
    registry.addKey(kProduct);
    EXPECT_TRUE(deleteBelowUninstall("Demo"));
    ASSERT_EQ(registry.opens().size(), 2u);
    EXPECT_EQ(registry.opens()[1].path, kProduct);
    EXPECT_EQ(registry.opens()[1].access, 0xF003Fu);
}

TEST_F(KeyTreeTest, KeyThatCannotBeOpenedStopsTheDeletionAndKeepsEarlierDeletions) {
    registry.addKey(kProduct + "\\A\\A1");
    registry.addKey(kProduct + "\\A\\A2");
    registry.addKey(kProduct + "\\B\\B1");
    registry.addKey(kProduct + "\\C");
    registry.denyOpen(kProduct + "\\B");

    EXPECT_FALSE(deleteBelowUninstall("Demo"));

    EXPECT_FALSE(registry.hasKey(kProduct + "\\A"));
    EXPECT_TRUE(registry.hasKey(kProduct + "\\B\\B1"));
    EXPECT_TRUE(registry.hasKey(kProduct + "\\C"));
    EXPECT_EQ(registry.deletions().size(), 3u);
}

TEST_F(KeyTreeTest, KeyThatCannotBeDeletedDeepDownStopsEveryLevelAbove) {
    registry.addKey(kProduct + "\\Level1\\Level2\\Level3");
    registry.addKey(kProduct + "\\Level1\\Level2\\Next");
    registry.denyDelete(kProduct + "\\Level1\\Level2\\Level3");  // enumerated before Next

    EXPECT_FALSE(deleteBelowUninstall("Demo"));

    EXPECT_TRUE(registry.deletions().empty());
    EXPECT_TRUE(registry.hasKey(kProduct + "\\Level1\\Level2\\Next"));
}

TEST_F(KeyTreeTest, AbsentKeyOrNullNameChangesNothing) {
    registry.addKey(kUninstall + "\\Keeper");
    EXPECT_FALSE(deleteBelowUninstall("Demo"));
    EXPECT_FALSE(deleteBelowUninstall(nullptr));
    EXPECT_TRUE(registry.hasKey(kUninstall + "\\Keeper"));
    EXPECT_TRUE(registry.deletions().empty());
}

TEST_F(KeyTreeTest, EveryEnumerationGetsTheFullNameCapacity) {
    // The first name is short; a capacity left at its length would hide the longer second one.
    registry.addKey(kProduct + "\\a");
    registry.addKey(kProduct + "\\bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
    EXPECT_TRUE(deleteBelowUninstall("Demo"));
    EXPECT_FALSE(registry.hasKey(kProduct));
}

TEST_F(KeyTreeTest, SubkeyNameOf259CharactersIsDeleted) {
    registry.addKey(kProduct + "\\" + std::string(259, 'n') + "\\Inner");
    EXPECT_TRUE(deleteBelowUninstall("Demo"));
    EXPECT_FALSE(registry.hasKey(kProduct));
}

TEST_F(KeyTreeTest, SubkeyNameOf260CharactersCannotBeEnumeratedSoItsParentStays) {
    const std::string longName = kProduct + "\\" + std::string(260, 'n');
    registry.addKey(longName);
    EXPECT_FALSE(deleteBelowUninstall("Demo"));
    EXPECT_TRUE(registry.hasKey(longName));
    EXPECT_TRUE(registry.deletions().empty());
}

TEST_F(KeyTreeTest, RemoveUninstallEntryOpensTheUninstallKeyForQueryAndCreate) {
    registry.addKey(kProduct + "\\Sub");
    registry.addKey(kUninstall + "\\Keeper");

    removeUninstallEntry(registry, "Demo");

    ASSERT_FALSE(registry.opens().empty());
    EXPECT_EQ(registry.opens()[0].path, kUninstall);
    EXPECT_EQ(registry.opens()[0].access, 5u);
    EXPECT_FALSE(registry.hasKey(kProduct));
    EXPECT_TRUE(registry.hasKey(kUninstall + "\\Keeper"));
}

TEST_F(KeyTreeTest, RemoveUninstallEntryDoesNothingWhenTheUninstallKeyCannotBeOpened) {
    registry.addKey(kProduct);
    registry.denyOpen(kUninstall);
    removeUninstallEntry(registry, "Demo");
    EXPECT_TRUE(registry.hasKey(kProduct));
    EXPECT_TRUE(registry.opens().empty());
}

TEST_F(KeyTreeTest, KeyNameWithSpacesIsUsedAsItIs) {
    registry.addKey(kUninstall + "\\My Demo App\\Sub");
    registry.addKey(kUninstall + "\\My");
    removeUninstallEntry(registry, "My Demo App");
    EXPECT_FALSE(registry.hasKey(kUninstall + "\\My Demo App"));
    EXPECT_TRUE(registry.hasKey(kUninstall + "\\My"));
}

}  // namespace
