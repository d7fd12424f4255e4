#pragma once
// COM for the calling thread and COM interface pointers, released by their
// owners. A ComInitialization must outlive the pointers obtained under it.
#include <objbase.h>

#include <memory>

namespace orvika2 {

class ComInitialization {
public:
    ComInitialization() : result_(CoInitialize(nullptr)) {}
    ~ComInitialization() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

private:
    HRESULT result_;
};

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComReleaser>;

// CoCreateInstance into an owning pointer; empty on failure.
template <typename Interface>
ComPtr<Interface> CreateComObject(REFCLSID classId, REFIID interfaceId) {
    void* object = nullptr;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_ALL, interfaceId, &object))) return {};
    return ComPtr<Interface>(static_cast<Interface*>(object));
}

// QueryInterface into an owning pointer; empty on failure.
template <typename Interface>
ComPtr<Interface> QueryComInterface(IUnknown& object, REFIID interfaceId) {
    void* result = nullptr;
    if (FAILED(object.QueryInterface(interfaceId, &result))) return {};
    return ComPtr<Interface>(static_cast<Interface*>(result));
}

}  // namespace orvika2
