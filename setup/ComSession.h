#pragma once
#include <objbase.h>

#include "base/UniqueHandle.h"

// COM on this thread while it lives, from ole32 loaded at run time: the shell's links and
// folder browser need it, and setup imports nothing Windows 95 lacks.
class ComSession {
public:
    ComSession();
    ~ComSession();
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

    // CoCreateInstance of an in-process server; E_FAIL without ole32.
    HRESULT Create(const CLSID& type, const IID& interfaceId, void** object) const;

private:
    ModuleHandle ole32_;
    bool initialised_ = false;
};

// Releases a COM object when it goes.
template <typename Interface>
class ComObject {
public:
    ComObject() = default;
    ~ComObject() {
        if (object_) object_->Release();
    }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    Interface* operator->() const { return object_; }
    Interface* get() const { return object_; }
    void** out() { return reinterpret_cast<void**>(&object_); }

private:
    Interface* object_ = nullptr;
};
