#include "toolkit/Component.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace tk {

Component::Component(Component* owner)
{
    if (owner) {
        owner->InsertComponent(this);
    }
}

Component::~Component()
{
    destroying_ = true;
    // Partners are told first, while everything this component owns is still whole.
    while (!freeNotifies_.empty()) {
        Component* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        std::erase(other->freeNotifies_, this);
        other->Notification(this, Operation::Remove);
    }
    while (!components_.empty()) {
        Component* component = components_.back();
        components_.pop_back();
        component->owner_ = nullptr;
        Notification(component, Operation::Remove);
        delete component;
    }
    if (owner_) {
        owner_->RemoveComponent(this);
    }
}

Component* Component::FindComponent(std::string_view name) const
{
    if (name.empty()) {
        return nullptr;
    }
    for (Component* component : components_) {
        if (platform::SameText(component->name_, name)) {
            return component;
        }
    }
    return nullptr;
}

void Component::FreeNotification(Component* other)
{
    if (!other || other == this) {
        return;
    }
    // The link goes both ways, so whichever of the two goes first tells the other.
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
    }
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end()) {
        other->freeNotifies_.push_back(this);
    }
}

void Component::RemoveFreeNotification(Component* other)
{
    if (!other) {
        return;
    }
    std::erase(freeNotifies_, other);
    std::erase(other->freeNotifies_, this);
}

void Component::Notification(Component* component, Operation operation)
{
    if (operation == Operation::Remove) {
        RemoveFreeNotification(component);
    }
    for (size_t i = components_.size(); i > 0; --i) {
        if (i - 1 < components_.size() && components_[i - 1] != component) {
            components_[i - 1]->Notification(component, operation);
        }
    }
}

void Component::InsertComponent(Component* component)
{
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, Operation::Insert);
}

void Component::RemoveComponent(Component* component)
{
    std::erase(components_, component);
    component->owner_ = nullptr;
    Notification(component, Operation::Remove);
}

}  // namespace tk
