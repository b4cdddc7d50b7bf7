#pragma once
// A non-visual part of a form (the drop target, the caption painter...):
// named, owned by the form, and found through it.
#include <string>

namespace sorv::tk {

class Form;

class Component {
public:
    Component(Form& owner, std::string name);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    Form& Owner() const { return owner_; }
    const std::string& Name() const { return name_; }

private:
    Form& owner_;
    std::string name_;
};

}  // namespace sorv::tk
