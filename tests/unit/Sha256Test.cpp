#include "platform/Sha256.h"

#include "support/NoSystemSha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const Sha256Digest& digest) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (auto byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

TEST(Sha256Test, KnownDigestsAcrossBlockBoundaries) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: padding spills over
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000, 'a'), "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3"},
    };
    for (const auto& c : cases) {
        auto bytes = reinterpret_cast<const unsigned char*>(c.input.data());
        std::optional<Sha256Digest> digest = Sha256(bytes, c.input.size());
        ASSERT_TRUE(digest) << c.input.size() << " bytes";
        EXPECT_EQ(Hex(*digest), c.digest) << c.input.size() << " bytes";
    }
}

TEST(Sha256Test, NothingWhenTheSystemCannotComputeIt) {
    const unsigned char bytes[] = {'a', 'b', 'c'};
    NoSystemSha256 noSha256;
    ASSERT_TRUE(noSha256.Active());
    EXPECT_FALSE(Sha256(bytes, sizeof bytes));
}

}  // namespace
