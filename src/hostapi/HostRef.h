#pragma once
// Holds one host object obtained by a routine and releases it when the holder goes out of scope.
// Declaring holders in the order objects are obtained releases them in reverse order, also when a
// step fails or throws.

#include <utility>

namespace hostapi {

template <class T>
class HostRef {
public:
    HostRef() = default;
    explicit HostRef(T* object) : object_(object) {}
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;
    HostRef(HostRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    HostRef& operator=(HostRef&& other) noexcept
    {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~HostRef() { Reset(); }

    void Reset(T* object = nullptr)
    {
        if (object_)
            object_->Release();
        object_ = object;
    }
    T* Get() const { return object_; }
    T* Detach() { return std::exchange(object_, nullptr); }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

}  // namespace hostapi
