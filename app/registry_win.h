#pragma once
// The system registry behind RegistryStore.
#include <windows.h>

#include "registry.h"

namespace sorv {

// The predefined key a root selector names; any unknown selector means the
// current user.
HKEY RootKey(int root);

class Win32RegistryStore final : public RegistryStore {
public:
    std::string ReadString(int root, const std::string& keyPath, const std::string& valueName) override;
    void WriteString(int root, const std::string& keyPath, const std::string& valueName,
                     const std::string& text) override;
    bool KeyHasDefault(int root, const std::string& keyPath) override;
    void EraseKey(int root, const std::string& keyPath) override;
};

}  // namespace sorv
