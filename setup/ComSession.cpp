#include "ComSession.h"

#include "base/DynamicProc.h"

ComSession::ComSession() : ole32_(LoadLibraryA("ole32.dll")) {
    if (const auto coInitialize = LOAD_PROC(ole32_.get(), CoInitialize))
        initialised_ = SUCCEEDED(coInitialize(nullptr));
}

ComSession::~ComSession() {
    if (!initialised_) return;
    if (const auto coUninitialize = LOAD_PROC(ole32_.get(), CoUninitialize)) coUninitialize();
}

HRESULT ComSession::Create(const CLSID& type, const IID& interfaceId, void** object) const {
    const auto coCreateInstance = LOAD_PROC(ole32_.get(), CoCreateInstance);
    if (!coCreateInstance) return E_FAIL;
    return coCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object);
}
