#include "net/NetworkRightsWarning.h"

#include "support/Macros.h"
#include "support/StringIds.h"

std::string NetworkRightsWarning(const NetworkRights& rights, bool needsNeighbours, const std::string& program) {
    const bool missingNeighbours = needsNeighbours && !rights.canChangeNeighbours;
    if (rights.canSendEcho && !missingNeighbours) return std::string();
    std::string missing;
    if (!rights.canSendEcho) missing = "CAP_NET_RAW";
    if (missingNeighbours) missing += missing.empty() ? "CAP_NET_ADMIN" : ", CAP_NET_ADMIN";
    return LoadTextWithMacros(kIdsNetworkRightsMissing, "RIGHTS=%s;PROGRAM=%s", missing.c_str(), program.c_str());
}
