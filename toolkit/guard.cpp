#include "guard.h"

#include <exception>

#include "application.h"

namespace sorv::tk {

bool Guard(const std::function<void()>& code, OnError onError) noexcept {
    try {
        code();
        return true;
    } catch (const std::exception& e) {
        if (onError == OnError::Report) App().HandleException(e);
    } catch (...) {
        if (onError == OnError::Report) App().ShowException("Erreur inconnue");
    }
    return false;
}

}  // namespace sorv::tk
