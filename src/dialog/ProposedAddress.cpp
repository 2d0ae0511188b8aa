#include "dialog/ProposedAddress.h"

#include "net/IpAddress.h"
#include "support/Format.h"

std::string ProposedAddress() {
    const IpAddress localHost = IpAddress::LocalHost();
    return FormatText("%d.%d.%d.0", localHost.GetOctet(1), localHost.GetOctet(2), localHost.GetOctet(3));
}
