// Depth-first deletion of a registry key. Subkey index 0 is asked for every time, because each subkey dealt
// with is gone afterwards.
#include "key_tree.h"

namespace uninstaller {

const char kUninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool deleteKeyTree(Registry& registry, RegistryKey parent, const char* name) {
    if (name == nullptr) return false;
    RegistryKey key = 0;
    if (!registry.openKey(parent, name, kKeyAllAccess, &key)) return false;
    for (;;) {
        char subkey[kSubkeyNameCapacity];
        unsigned long capacity = kSubkeyNameCapacity;  // the previous call shrank it to a name's length
        if (!registry.enumSubkey(key, 0, subkey, &capacity)) {
            // Normally no subkey is left; a name too long to enumerate leaves the decision to the delete.
            registry.closeKey(key);
            return registry.deleteKey(parent, name);
        }
        if (!deleteKeyTree(registry, key, subkey)) {
            registry.closeKey(key);
            return false;
        }
    }
}

void removeUninstallEntry(Registry& registry, const char* uninstallKeyName) {
    RegistryKey uninstallKey = 0;
    if (!registry.openKey(registry.localMachine(), kUninstallKeyPath, kKeyQueryValueAndCreateSubKey,
                          &uninstallKey)) {
        return;
    }
    deleteKeyTree(registry, uninstallKey, uninstallKeyName);
    registry.closeKey(uninstallKey);
}

}  // namespace uninstaller
