// Reading the kernel's answer to an rtnetlink request, one received datagram
// at a time. A pure function of the bytes, so that any datagram, however
// damaged, can be read without a socket.
#pragma once

#include "net/IPv4Address.h"
#include "net/MacAddress.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A route message (RTM_NEWROUTE) of an answer.
struct NetlinkRoute {
    bool unicast = false;                   // the route's type is RTN_UNICAST
    std::optional<uint32_t> interfaceIndex;  // its output interface (RTA_OIF)
};

// An IPv4 neighbour message (RTM_NEWNEIGH) of an answer: one entry of the
// neighbour table as the kernel reports it.
struct NetlinkNeighbour {
    uint32_t interfaceIndex = 0;
    uint16_t state = 0;  // NUD_*
    std::optional<IPv4Address> address;
    std::optional<MacAddress> mac;    // absent unless 6 bytes long
    std::optional<uint8_t> protocol;  // who added it; absent when untold
};

// What one datagram of an answer says.
struct NetlinkReply {
    enum class Status {
        Pending,       // read; the answer goes on in the next datagram
        Acknowledged,  // the kernel acknowledged the request or ended its dump
        Refused,       // the kernel refused the request, or the datagram is no valid answer
    };
    Status status = Status::Pending;
    // Why it was refused (an errno value); 0 unless refused.
    int error = 0;
    // The last route message of the datagram, if it held one.
    std::optional<NetlinkRoute> route;
    // The IPv4 neighbour messages of the datagram, in order; those of other
    // families are skipped.
    std::vector<NetlinkNeighbour> neighbours;
};

// Reads one datagram of the answer to request `sequence` sent from port
// `portId`. Messages for another request or port refuse the datagram.
NetlinkReply ParseNetlinkReply(std::span<const uint8_t> datagram, uint32_t sequence, uint32_t portId);
