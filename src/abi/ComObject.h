// Reference counting and interface lookup for objects that implement WebView2 interfaces, and
// handler objects made from callables.
#pragma once

#include <atomic>
#include <tuple>
#include <utility>

#include "abi/WebView2.h"

// The interfaces have no virtual destructor (see WebView2.h); objects here delete themselves.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace WebView2 {

// The IID of each interface, for QueryInterface.
template <class I> const GUID& IidOf();
#define CRV_WV2_IID(I)                                                                                       \
    template <> inline const GUID& IidOf<I>() {                                                              \
        return IID_##I;                                                                                      \
    }
CRV_WV2_IID(IUnknown)
CRV_WV2_IID(ISequentialStream)
CRV_WV2_IID(IStream)
CRV_WV2_FOR_EACH_INTERFACE(CRV_WV2_IID)
#undef CRV_WV2_IID

// Implements IUnknown for a class deriving from the interfaces Is. An object starts with one
// reference, owned by whoever made it (adopt it with ComPtr<..>::Attach).
template <class... Is> class TComObject : public Is... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown) *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        ((*ppv == nullptr && riid == IidOf<Is>() ? (*ppv = static_cast<Is*>(this)) : nullptr), ...);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --FRefCount;
        if (left == 0) delete this;
        return left;
    }

protected:
    TComObject() = default;
    virtual ~TComObject() = default;

private:
    using First = std::tuple_element_t<0, std::tuple<Is...>>;
    std::atomic<ULONG> FRefCount{1};
};

// A completion or event handler whose Invoke calls a callable with the same parameters.
template <class I, class Fn, class Sig = decltype(&I::Invoke)> class THandler;
template <class I, class Fn, class... A>
class THandler<I, Fn, HRESULT (STDMETHODCALLTYPE I::*)(A...)> final : public TComObject<I> {
public:
    explicit THandler(Fn fn) : FFn(std::move(fn)) {}
    HRESULT STDMETHODCALLTYPE Invoke(A... args) override { return FFn(args...); }

private:
    Fn FFn;
};

// A new handler object with one reference.
template <class I, class Fn> I* MakeHandler(Fn fn) {
    return new THandler<I, Fn>(std::move(fn));
}

} // namespace WebView2

#pragma GCC diagnostic pop
