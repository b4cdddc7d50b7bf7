#pragma once
// A registry in memory for tests: same contracts as the system registry
// (names compared without case, "None" for what is absent, keys created with
// their parents, trees erased whole), plus switches that make writes under a
// root fail the way a user without rights sees them fail.
#include <map>
#include <set>
#include <string>
#include <utility>

#include "registry.h"

namespace sorv {

class MemoryRegistry final : public RegistryStore {
public:
    std::string ReadString(int root, const std::string& keyPath, const std::string& valueName) override;
    void WriteString(int root, const std::string& keyPath, const std::string& valueName,
                     const std::string& text) override;
    bool KeyHasDefault(int root, const std::string& keyPath) override;
    void EraseKey(int root, const std::string& keyPath) override;

    // Key creation under this root fails (KeyCreateError).
    void RefuseKeysUnder(int root) { refusedKeyRoots_.insert(Normal(root)); }
    // Setting values under this root fails (SetValueError).
    void RefuseValuesUnder(int root) { refusedValueRoots_.insert(Normal(root)); }
    // Stores a value that is not a string (reading it must fail).
    void SetNonStringValue(int root, const std::string& keyPath, const std::string& valueName);
    bool KeyExists(int root, const std::string& keyPath) const;

private:
    struct Value {
        bool isString = true;
        std::string text;
    };
    using KeyId = std::pair<int, std::string>;  // root, folded path
    static int Normal(int root);
    static KeyId Id(int root, const std::string& keyPath);
    void CreateKey(const KeyId& id);

    std::set<KeyId> keys_;
    std::map<KeyId, std::map<std::string, Value>> values_;  // value names folded
    std::set<int> refusedKeyRoots_;
    std::set<int> refusedValueRoots_;
};

}  // namespace sorv
