// The adapter records of the IP helper library as a 64-bit Windows program
// lays them out, for reading them on Linux, where the fuzzer of the record
// walk runs. Only what the walk uses; sizes and offsets are those of the
// Windows headers (x64) and are checked below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

using DWORD = uint32_t;
using UINT = unsigned int;
using BYTE = uint8_t;
using BOOL = int;

constexpr size_t MAX_ADAPTER_NAME_LENGTH = 256;
constexpr size_t MAX_ADAPTER_DESCRIPTION_LENGTH = 128;
constexpr size_t MAX_ADAPTER_ADDRESS_LENGTH = 8;

struct IP_ADDRESS_STRING {
    char String[4 * 4];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
    IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
};

struct IP_ADAPTER_INFO {
    IP_ADAPTER_INFO* Next;
    DWORD ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    UINT AddressLength;
    BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
    DWORD Index;
    UINT Type;
    UINT DhcpEnabled;
    IP_ADDR_STRING* CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    BOOL HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    time_t LeaseObtained;
    time_t LeaseExpires;
};

static_assert(sizeof(void*) == 8, "the records are those of 64-bit Windows");
static_assert(sizeof(IP_ADDR_STRING) == 48);
static_assert(sizeof(IP_ADAPTER_INFO) == 704);
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == 440);
