#include "platform/windows/WindowsPlatform.h"

std::optional<std::vector<ArpSweepAnswer>> WindowsPlatform::SweepArp(const std::string&, uint32_t,
                                                                     const std::vector<uint32_t>&, unsigned, uint32_t) {
    return std::nullopt;
}
