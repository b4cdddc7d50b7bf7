#include "registry.h"

#include "registry_win.h"

namespace sorv {

RegistryError KeyCreateError(const std::string& keyPath) {
    return RegistryError("Erreur de création de la clé " + keyPath);
}

RegistryError SetValueError(const std::string& valueName) {
    return RegistryError("Erreur à définition des données pour '" + valueName + "'");
}

RegistryError WrongTypeError(const std::string& valueName) {
    return RegistryError("Type de données incorrect pour '" + valueName + "'");
}

RegistryStore& SystemRegistry() {
    static Win32RegistryStore store;
    return store;
}

std::string ReadRegString(int root, const std::string& keyPath, const std::string& valueName) {
    return SystemRegistry().ReadString(root, keyPath, valueName);
}

void WriteRegString(int root, const std::string& keyPath, const std::string& valueName, const std::string& text) {
    SystemRegistry().WriteString(root, keyPath, valueName, text);
}

bool RegKeyHasDefault(int root, const std::string& keyPath) {
    return SystemRegistry().KeyHasDefault(root, keyPath);
}

void EraseRegKey(int root, const std::string& keyPath) {
    SystemRegistry().EraseKey(root, keyPath);
}

}  // namespace sorv
