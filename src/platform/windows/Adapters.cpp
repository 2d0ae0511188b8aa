// The host's adapters from GetAdaptersInfo of the IP helper library, which
// is loaded for each query and released after it.
#include "platform/windows/WindowsPlatform.h"

#include "net/Dll.h"
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
    // The entry point is looked up after every load and used only while
    // this Dll holds the library.
    Dll library;
    library.Load("iphlpapi.dll");
    auto getAdaptersInfo = reinterpret_cast<GetAdaptersInfoFunction>(library.GetFunctionPtr("GetAdaptersInfo"));
    if (getAdaptersInfo == nullptr) return {AdapterList::Status::NotSupported, {}};

    ULONG size = 0;
    getAdaptersInfo(nullptr, &size);
    // Zero-filled, so a call that writes nothing leaves one empty record.
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]());
    if (!buffer) return {AdapterList::Status::Ok, {}};

    ULONG filled = size;
    switch (getAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.get()), &filled)) {
        case kNotSupported:
            return {AdapterList::Status::NotSupported, {}};
        case kBufferOverflow:
            return {AdapterList::Status::ListChanged, {}};
        case kNoData:
            return {AdapterList::Status::NoAdapter, {}};
        default:
            // Walked within the size allocated, whatever the call reported.
            return {AdapterList::Status::Ok, ReadAdapterRecords(buffer.get(), size)};
    }
}
