#include "displayadapter.h"

#ifdef _WIN32
#include <dxgi.h>
#include <windows.h>

namespace vantorix::win {

DisplayAdapter primaryDisplayAdapter()
{
    DisplayAdapter result;
    // Loaded at run time: dxgi.dll is there on every supported Windows, but the program does not link it.
    HMODULE dxgi = LoadLibraryW(L"dxgi.dll");
    if (!dxgi)
        return result;
    using CreateFactory = HRESULT(WINAPI *)(REFIID, void **);
    auto create =
        reinterpret_cast<CreateFactory>(reinterpret_cast<void *>(GetProcAddress(dxgi, "CreateDXGIFactory1")));
    IDXGIFactory1 *factory = nullptr;
    if (create && SUCCEEDED(create(__uuidof(IDXGIFactory1), reinterpret_cast<void **>(&factory))) &&
        factory) {
        IDXGIAdapter1 *adapter = nullptr;
        if (SUCCEEDED(factory->EnumAdapters1(0, &adapter)) && adapter) {
            DXGI_ADAPTER_DESC1 desc{};
            if (SUCCEEDED(adapter->GetDesc1(&desc))) {
                result.found = true;
                result.description = desc.Description;
                result.vendorId = desc.VendorId;
                result.deviceId = desc.DeviceId;
                result.software = (desc.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0;
            }
            adapter->Release();
        }
        factory->Release();
    }
    FreeLibrary(dxgi);
    return result;
}

} // namespace vantorix::win
#endif
