// An owning pointer to a COM object: AddRef on copy, Release on drop.
#pragma once

#include <utility>

namespace WebView2 {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference of its own.
    explicit ComPtr(T* p) : FPtr(p) {
        if (FPtr) FPtr->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.FPtr) {}
    ComPtr(ComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(FPtr, other.FPtr);
        return *this;
    }

    // Adopts a reference that the caller already owns (a new object, an [out] parameter).
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.FPtr = p;
        return r;
    }

    void Reset() {
        if (FPtr) std::exchange(FPtr, nullptr)->Release();
    }
    // For [out] parameters: drops the current object and hands out the slot.
    T** Put() {
        Reset();
        return &FPtr;
    }
    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }

private:
    T* FPtr = nullptr;
};

} // namespace WebView2
