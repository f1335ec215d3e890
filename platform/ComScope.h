#pragma once
#include <objbase.h>

// COM for the calling thread, from construction to destruction.
class ComScope {
public:
    ComScope() noexcept : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};
