#include "net/IPv4Address.h"

#include <cstdio>
#include <cstring>

std::string IPv4Address::ToText() const {
    uint8_t octets[4];
    std::memcpy(octets, &networkOrder_, sizeof octets);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", octets[0], octets[1], octets[2], octets[3]);
    return text;
}
