#pragma once
// Registry operations: string values under a root selector, a key path and a
// value name (empty for the key's default value). Keys are opened and closed
// within each call. Failures are RegistryError exceptions carrying the
// French text shown to the user.
#include <stdexcept>
#include <string>

namespace sorv {

// Root selectors.
inline constexpr int kRootClasses = 1;
inline constexpr int kRootCurrentUser = 2;
inline constexpr int kRootLocalMachine = 3;
inline constexpr int kRootUsers = 4;
inline constexpr int kRootCurrentConfig = 5;
inline constexpr int kRootDynData = 6;

// What a read gives for an absent key or value.
inline constexpr char kRegNone[] = "None";

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The French texts of the three registry errors.
RegistryError KeyCreateError(const std::string& keyPath);
RegistryError SetValueError(const std::string& valueName);
RegistryError WrongTypeError(const std::string& valueName);

// A store of string values organised as the registry is. The program uses
// the system registry; tests put a store in memory in its place.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // The value's text up to its first NUL; kRegNone when the key cannot be
    // opened for reading or the value is absent. A value that is not a
    // string throws WrongTypeError.
    virtual std::string ReadString(int root, const std::string& keyPath, const std::string& valueName) = 0;
    // Creates the key with its missing parents, then stores text as a
    // string. Throws KeyCreateError or SetValueError.
    virtual void WriteString(int root, const std::string& keyPath, const std::string& valueName,
                             const std::string& text) = 0;
    // True when the key exists, can be read and has a default value.
    virtual bool KeyHasDefault(int root, const std::string& keyPath) = 0;
    // Deletes the key and everything below it; an absent key, one that
    // cannot be deleted or an empty path (the root itself) is passed over.
    virtual void EraseKey(int root, const std::string& keyPath) = 0;
};

// The system registry.
RegistryStore& SystemRegistry();

// The program's registry operations, over the system registry.
std::string ReadRegString(int root, const std::string& keyPath, const std::string& valueName);
void WriteRegString(int root, const std::string& keyPath, const std::string& valueName, const std::string& text);
bool RegKeyHasDefault(int root, const std::string& keyPath);
void EraseRegKey(int root, const std::string& keyPath);

}  // namespace sorv
