#pragma once
// While the owner lives, no provider is registered for the provider type that computes SHA-256
// in CryptoAPI, so the system can't compute a digest, as on a damaged system. The registry entry
// is put back exactly when the owner goes.
#include "support/SavedRegistryKey.h"
#include "support/TestKeys.h"

class NoSystemSha256 {
public:
    NoSystemSha256() : removed_(RemoveKey(HKEY_LOCAL_MACHINE, kProviderType)) {}
    bool Active() const { return removed_; }

private:
    static constexpr char kProviderType[] = "Software\\Microsoft\\Cryptography\\Defaults\\Provider Types\\Type 024";
    SavedRegistryKey saved_{HKEY_LOCAL_MACHINE, kProviderType, 0};  // before the removal
    bool removed_;
};
