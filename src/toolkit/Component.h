#pragma once
// The root of everything a window is made of: a name, an owner that destroys what it owns, and
// notification when a component that another one refers to goes away.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

enum class Operation { Insert, Remove };

class Component {
public:
    explicit Component(Component* owner);
    virtual ~Component();  // destroys the owned components, the last created first
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    Component* Owner() const { return owner_; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    Component* Components(int index) const { return components_.at(index); }
    // An owned component by name, letter case ignored; nullptr when there is none.
    Component* FindComponent(std::string_view name) const;
    template <class T>
    T* Find(std::string_view name) const { return dynamic_cast<T*>(FindComponent(name)); }

    // Called once after the window and all its components are made (a form's FinishCreate).
    virtual void Loaded() {}
    bool Designing() const { return false; }

    // Asks for Notification(this, Operation::Remove) on other when this component is destroyed.
    void FreeNotification(Component* other);
    void RemoveFreeNotification(Component* other);

protected:
    virtual void Notification(Component* component, Operation operation);

private:
    void InsertComponent(Component* component);
    void RemoveComponent(Component* component);

    std::string name_;
    Component* owner_ = nullptr;
    int tag_ = 0;
    std::vector<Component*> components_;
    std::vector<Component*> freeNotifies_;
    bool destroying_ = false;
};

// Stands for an object that is no component itself but refers to components: pass it to their
// FreeNotification, and it calls back when one of them is destroyed.
class RemovalWatch : public Component {
public:
    explicit RemovalWatch(std::function<void(Component* removed)> onRemove)
        : Component(nullptr), onRemove_(std::move(onRemove))
    {
    }

protected:
    void Notification(Component* component, Operation operation) override
    {
        Component::Notification(component, operation);
        if (operation == Operation::Remove) {
            onRemove_(component);
        }
    }

private:
    std::function<void(Component* removed)> onRemove_;
};

}  // namespace tk
