// The host's adapters from GetAdaptersInfo of the IP helper library, which
// is loaded for each query and released after it.
#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/AdapterRecords.h"
#include "platform/windows/WindowsApi.h"

#include <memory>
#include <new>

namespace {

using GetAdaptersInfoFunction = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);

constexpr DWORD kNotSupported = 50;     // ERROR_NOT_SUPPORTED
constexpr DWORD kBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW: the list grew
constexpr DWORD kNoData = 232;          // ERROR_NO_DATA: no adapter

}  // namespace

AdapterList WindowsPlatform::GetAdapters() {
    void* library = LoadModule("iphlpapi.dll");
    auto getAdaptersInfo = reinterpret_cast<GetAdaptersInfoFunction>(
        library ? FindEntryPoint(library, "GetAdaptersInfo") : nullptr);
    AdapterList list{AdapterList::Status::NotSupported, {}};
    if (getAdaptersInfo != nullptr) {
        ULONG size = 0;
        getAdaptersInfo(nullptr, &size);
        // Zero-filled, so a call that writes nothing leaves one empty record.
        std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]());
        if (buffer) {
            ULONG filled = size;
            switch (getAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.get()), &filled)) {
            case kNotSupported: list.status = AdapterList::Status::NotSupported; break;
            case kBufferOverflow: list.status = AdapterList::Status::ListChanged; break;
            case kNoData: list.status = AdapterList::Status::NoAdapter; break;
            default: list = {AdapterList::Status::Ok, ReadAdapterRecords(buffer.get(), size)}; break;
            }
        } else {
            list.status = AdapterList::Status::Ok;
        }
    }
    if (library) FreeModule(library);
    return list;
}
