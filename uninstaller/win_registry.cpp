// Thin wiring of the Registry interface to advapi32; every decision lives in key_tree.cpp.
#include "win_registry.h"

#include <windows.h>

namespace uninstaller {

namespace {
HKEY toHandle(RegistryKey key) {
    return reinterpret_cast<HKEY>(key);
}
}  // namespace

RegistryKey WinRegistry::localMachine() const {
    return reinterpret_cast<RegistryKey>(HKEY_LOCAL_MACHINE);
}

bool WinRegistry::openKey(RegistryKey parent, const char* name, unsigned long access, RegistryKey* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(toHandle(parent), name, 0, access, &opened) != ERROR_SUCCESS) return false;
    *key = reinterpret_cast<RegistryKey>(opened);
    return true;
}

bool WinRegistry::enumSubkey(RegistryKey key, unsigned long index, char* name, unsigned long* capacity) {
    DWORD length = *capacity;
    LONG result = RegEnumKeyExA(toHandle(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    *capacity = length;
    return result == ERROR_SUCCESS;
}

bool WinRegistry::deleteKey(RegistryKey parent, const char* name) {
    return RegDeleteKeyA(toHandle(parent), name) == ERROR_SUCCESS;
}

void WinRegistry::closeKey(RegistryKey key) {
    RegCloseKey(toHandle(key));
}

}  // namespace uninstaller
