// An in-memory registry for the uninstaller's tests. It behaves like the Win32 calls in what the deletion
// relies on (subkeys enumerated in name order, a key with subkeys cannot be deleted, names that do not fit
// the caller's capacity fail to enumerate) and records what was done to it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "key_tree.h"

class MemoryRegistry : public uninstaller::Registry {
  public:
    struct Open {
        std::string path;
        unsigned long access;
    };

    // Paths are backslash-separated below HKEY_LOCAL_MACHINE; missing parents are created.
    void addKey(const std::string& path);
    bool hasKey(const std::string& path) const;
    void denyOpen(const std::string& path);
    void denyDelete(const std::string& path);

    const std::vector<std::string>& deletions() const { return deletions_; }
    const std::vector<Open>& opens() const { return opens_; }
    std::size_t openHandles() const { return handles_.size(); }
    int badCloses() const { return badCloses_; }

    uninstaller::RegistryKey localMachine() const override { return kLocalMachine; }
    bool openKey(uninstaller::RegistryKey parent, const char* name, unsigned long access,
                 uninstaller::RegistryKey* key) override;
    bool enumSubkey(uninstaller::RegistryKey key, unsigned long index, char* name,
                    unsigned long* capacity) override;
    bool deleteKey(uninstaller::RegistryKey parent, const char* name) override;
    void closeKey(uninstaller::RegistryKey key) override;

  private:
    struct Node {
        std::map<std::string, std::unique_ptr<Node>> children;
        bool openDenied = false;
        bool deleteDenied = false;
    };
    static constexpr uninstaller::RegistryKey kLocalMachine = 1;

    Node* find(const std::string& path) const;
    bool pathOf(uninstaller::RegistryKey key, std::string* path) const;

    Node root_;
    std::map<uninstaller::RegistryKey, std::string> handles_;
    uninstaller::RegistryKey nextHandle_ = 100;
    std::vector<std::string> deletions_;
    std::vector<Open> opens_;
    int badCloses_ = 0;
};
