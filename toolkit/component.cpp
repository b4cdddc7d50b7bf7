#include "component.h"

#include "form.h"

namespace sorv::tk {

Component::Component(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    owner_.AddComponent(*this);
}

Component::~Component() { owner_.RemoveComponent(*this); }

}  // namespace sorv::tk
