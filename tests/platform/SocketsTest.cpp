#include "platform/Sockets.h"

#include <gtest/gtest.h>

using platform::IsIPv4Literal;

TEST(Sockets, IPv4LiteralsAreFourDecimalPartsUpTo255) {
    const struct {
        const char* host;
        bool literal;
    } cases[] = {
        {"127.0.0.1", true}, {"255.255.255.255", true}, {"0.0.0.0", true},    {"256.0.0.1", false},
        {"1.2.3", false},    {"1.2.3.4.5", false},      {"1..3.4", false},    {"1.2.3.4.", false},
        {"", false},         {"localhost", false},      {"1.2.3.0x1", false}, {"0001.2.3.4", false},
        {"+1.2.3.4", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsIPv4Literal(c.host), c.literal) << c.host;
}
