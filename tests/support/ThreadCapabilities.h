// Takes capabilities out of the calling thread's effective set for a scope,
// so that a test can see how the Linux layer fares without rights. Only the
// calling thread is affected; the permitted set stays, so they come back.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>

class WithoutCapabilities {
public:
    explicit WithoutCapabilities(std::initializer_list<int> capabilities) {
        ok_ = ::syscall(SYS_capget, &header_, saved_) == 0;
        if (!ok_) return;
        __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3];
        for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i) reduced[i] = saved_[i];
        for (int capability : capabilities) reduced[capability / 32].effective &= ~(1u << (capability % 32));
        ok_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutCapabilities() {
        // Never let a test thread go on with fewer rights than it started with.
        if (ok_ && ::syscall(SYS_capset, &header_, saved_) != 0) std::abort();
    }
    WithoutCapabilities(const WithoutCapabilities&) = delete;
    WithoutCapabilities& operator=(const WithoutCapabilities&) = delete;

    bool Ok() const { return ok_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3] = {};
    bool ok_ = false;
};
