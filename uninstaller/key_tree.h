// Removal of the product's uninstall entry with every key below it, over a registry interface shaped like the
// ANSI Win32 calls so that the same code runs against the real registry and an in-memory one.
#pragma once

#include <cstdint>

namespace uninstaller {

using RegistryKey = std::uintptr_t;  // an open key; the Windows adapter stores an HKEY here

constexpr unsigned long kKeyAllAccess = 0xF003F;
constexpr unsigned long kKeyQueryValueAndCreateSubKey = 0x0001 | 0x0004;
constexpr unsigned long kSubkeyNameCapacity = 260;  // characters, terminator included
extern const char kUninstallKeyPath[];              // below HKEY_LOCAL_MACHINE

class Registry {
  public:
    virtual ~Registry() = default;
    // The predefined HKEY_LOCAL_MACHINE key; never closed.
    virtual RegistryKey localMachine() const = 0;
    // RegOpenKeyExA: true and *key set when the key exists and grants access.
    virtual bool openKey(RegistryKey parent, const char* name, unsigned long access, RegistryKey* key) = 0;
    // RegEnumKeyExA: the name of the subkey at index; false when there is none or when the name and its
    // terminator do not fit *capacity characters. On success *capacity becomes the name's length.
    virtual bool enumSubkey(RegistryKey key, unsigned long index, char* name, unsigned long* capacity) = 0;
    // RegDeleteKeyA: deletes a key that has no subkeys.
    virtual bool deleteKey(RegistryKey parent, const char* name) = 0;
    // RegCloseKey.
    virtual void closeKey(RegistryKey key) = 0;
};

// Deletes name below parent depth first; true when the key itself is gone. The first key that cannot be
// opened or deleted ends the deletion, and what was deleted before it stays deleted.
bool deleteKeyTree(Registry& registry, RegistryKey parent, const char* name);

// Deletes the product's key below the Uninstall key; silently does nothing when that key cannot be opened.
void removeUninstallEntry(Registry& registry, const char* uninstallKeyName);

}  // namespace uninstaller
