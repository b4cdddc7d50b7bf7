#include "registry_memory.h"

#include <cctype>

namespace sorv {
namespace {

// The registry ignores case in key and value names.
std::string Fold(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded;
}

}  // namespace

int MemoryRegistry::Normal(int root) {
    return root >= kRootClasses && root <= kRootDynData ? root : kRootCurrentUser;
}

MemoryRegistry::KeyId MemoryRegistry::Id(int root, const std::string& keyPath) {
    return {Normal(root), Fold(keyPath)};
}

void MemoryRegistry::CreateKey(const KeyId& id) {
    for (auto end = id.second.find('\\'); end != std::string::npos; end = id.second.find('\\', end + 1)) {
        keys_.insert({id.first, id.second.substr(0, end)});
    }
    keys_.insert(id);
}

std::string MemoryRegistry::ReadString(int root, const std::string& keyPath, const std::string& valueName) {
    const auto key = values_.find(Id(root, keyPath));
    if (key == values_.end()) {
        return kRegNone;
    }
    const auto value = key->second.find(Fold(valueName));
    if (value == key->second.end()) {
        return kRegNone;
    }
    if (!value->second.isString) {
        throw WrongTypeError(valueName);
    }
    return value->second.text.substr(0, value->second.text.find('\0'));
}

void MemoryRegistry::WriteString(int root, const std::string& keyPath, const std::string& valueName,
                                 const std::string& text) {
    const KeyId id = Id(root, keyPath);
    if (refusedKeyRoots_.contains(id.first)) {
        throw KeyCreateError(keyPath);
    }
    CreateKey(id);
    if (refusedValueRoots_.contains(id.first)) {
        throw SetValueError(valueName);
    }
    values_[id][Fold(valueName)] = Value{true, text};
}

bool MemoryRegistry::KeyHasDefault(int root, const std::string& keyPath) {
    const auto key = values_.find(Id(root, keyPath));
    return key != values_.end() && key->second.contains("");
}

void MemoryRegistry::EraseKey(int root, const std::string& keyPath) {
    const KeyId id = Id(root, keyPath);
    if (id.second.find_first_not_of('\\') == std::string::npos) {
        return;
    }
    const std::string below = id.second + "\\";
    auto inTree = [&](const KeyId& k) {
        return k.first == id.first && (k.second == id.second || k.second.starts_with(below));
    };
    std::erase_if(keys_, inTree);
    std::erase_if(values_, [&](const auto& entry) { return inTree(entry.first); });
}

void MemoryRegistry::SetNonStringValue(int root, const std::string& keyPath, const std::string& valueName) {
    const KeyId id = Id(root, keyPath);
    CreateKey(id);
    values_[id][Fold(valueName)] = Value{false, {}};
}

bool MemoryRegistry::KeyExists(int root, const std::string& keyPath) const {
    return keys_.contains(Id(root, keyPath));
}

}  // namespace sorv
