#pragma once
// The bytes the executable carries: the banner and the two files it installs. Each is one
// contiguous read-only range inside the loaded image, alive for the whole run.
#include "platform/Sha256.h"

#include <cstddef>

struct Blob {
    const unsigned char* start = nullptr;
    const unsigned char* end = nullptr;  // one past the last byte
    std::size_t Size() const { return static_cast<std::size_t>(end - start); }
};

Blob PictureBlob();
Blob LibraryPayload();
Blob HelpPayload();

// Computed by the build from the files it embedded.
const Sha256Digest& LibraryPayloadDigest();
const Sha256Digest& HelpPayloadDigest();
