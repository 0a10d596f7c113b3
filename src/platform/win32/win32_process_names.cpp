#include "platform/win32/win32_process_names.h"

#include "platform/win32/windows_api.h"

#include <wbemidl.h>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

template <typename T> void Release(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

} // namespace

std::optional<std::vector<std::string>> Win32ProcessNames::RunningProcessNames() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool uninitialize = SUCCEEDED(init);
    // Security may already have been set by an earlier call; that is fine.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    std::optional<std::vector<std::string>> names;
    IWbemLocator* locator = nullptr;
    IWbemServices* services = nullptr;
    IEnumWbemClassObject* results = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                   reinterpret_cast<void**>(&locator)))) {
        BSTR space = SysAllocString(L"ROOT\\CIMV2");
        const HRESULT connected =
            locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
        SysFreeString(space);
        if (SUCCEEDED(connected)) {
            CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
            BSTR language = SysAllocString(L"WQL");
            BSTR query = SysAllocString(L"select * from Win32_Process");
            if (SUCCEEDED(services->ExecQuery(language, query,
                                              WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                              &results))) {
                names.emplace();
                while (true) {
                    IWbemClassObject* object = nullptr;
                    ULONG returned = 0;
                    if (results->Next(static_cast<LONG>(WBEM_INFINITE), 1, &object, &returned) != S_OK ||
                        returned == 0) {
                        break;
                    }
                    VARIANT name;
                    VariantInit(&name);
                    if (SUCCEEDED(object->Get(L"Name", 0, &name, nullptr, nullptr)) && name.vt == VT_BSTR) {
                        names->push_back(Narrow(name.bstrVal));
                    }
                    VariantClear(&name);
                    object->Release();
                }
            }
            SysFreeString(query);
            SysFreeString(language);
        }
    }
    Release(results);
    Release(services);
    Release(locator);
    if (uninitialize) {
        CoUninitialize();
    }
    return names;
}

} // namespace grimsweep::win32
