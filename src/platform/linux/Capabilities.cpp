#include "platform/linux/Capabilities.h"

#include <sys/syscall.h>
#include <unistd.h>

bool HasEffectiveCapability(int capability) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (capability < 0 || capability >= 32 * _LINUX_CAPABILITY_U32S_3) return false;
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    return (data[capability / 32].effective >> (capability % 32)) & 1u;
}
