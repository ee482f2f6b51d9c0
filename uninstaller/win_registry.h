// The real registry behind the uninstaller's Registry interface (ANSI calls, the view of a 32-bit program).
#pragma once

#include "key_tree.h"

namespace uninstaller {

class WinRegistry : public Registry {
  public:
    RegistryKey localMachine() const override;
    bool openKey(RegistryKey parent, const char* name, unsigned long access, RegistryKey* key) override;
    bool enumSubkey(RegistryKey key, unsigned long index, char* name, unsigned long* capacity) override;
    bool deleteKey(RegistryKey parent, const char* name) override;
    void closeKey(RegistryKey key) override;
};

}  // namespace uninstaller
