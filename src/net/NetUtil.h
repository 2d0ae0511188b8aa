// Whether an address lies on the subnet of one of the host's network
// adapters, and which class of Windows the program runs on (the subnet check
// is skipped on the oldest ones).
#pragma once

#include <string>

class NetUtil {
public:
    // The address text of the first adapter entry, in the system's order,
    // whose subnet holds `selectedAddress`; empty when none does, when the
    // adapter list cannot be read, or when the text is absent or longer than
    // 255 characters. Every entry visited is logged.
    static std::string IsIpAddressInSubnet(const char* selectedAddress);
};

// The running system's class, determined by the first call and kept for the
// rest of the process:
//   0  Windows NT 4.0 and earlier      3  Windows Me
//   1  Windows 95                      4  Windows 2000 and later
//   2  Windows 98                      5  any other system, or an unknown one
int GetOsVersionClass();

// Whether the user's address may be assigned from this host.
enum class AddressVerdict {
    Accepted,
    NotValid,      // not a valid dotted-quad address
    NotReachable,  // on no local adapter's subnet (not checked on class 0)
};

// The address checks of the dialog's address field, in their order.
AddressVerdict CheckSelectedAddress(const char* address);

// Tests only: forgets the class, so that the next call determines it again.
void ResetOsVersionClassForTesting();
