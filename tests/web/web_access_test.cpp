// Who may reach the browser view: the listening address as the command line gives it, the
// token's form and comparison, the query of a request and the Host and Origin checks.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/web/web_access.h"

namespace {

using platform::web::AccessRules;
using platform::web::CheckRequest;
using platform::web::ParseListenAddress;
using platform::web::Refusal;

struct AddressCase {
    const char* text;
    const char* host;  // nullptr: refused
    int port;
    bool loopback;
};

class ListenAddressReading : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ListenAddressReading, GivesHostPortAndWhetherItStaysOnThisMachine)
{
    const AddressCase& c = GetParam();
    std::string why;
    const auto address = ParseListenAddress(c.text, &why);
    if (c.host == nullptr) {
        EXPECT_FALSE(address.has_value()) << c.text;
        EXPECT_NE(why.find(c.text), std::string::npos) << why;  // the message names the value
        return;
    }
    ASSERT_TRUE(address.has_value()) << c.text << ": " << why;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
    EXPECT_EQ(address->loopback, c.loopback);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListenAddressReading,
    ::testing::Values(AddressCase{"8080", "127.0.0.1", 8080, true},
                      AddressCase{"127.0.0.1:0", "127.0.0.1", 0, true},
                      AddressCase{"127.8.9.10:80", "127.8.9.10", 80, true},
                      AddressCase{"localhost:9000", "127.0.0.1", 9000, true},
                      AddressCase{":9000", "127.0.0.1", 9000, true},
                      AddressCase{"[::1]:8080", "::1", 8080, true},
                      AddressCase{"0.0.0.0:8080", "0.0.0.0", 8080, false},
                      AddressCase{"192.168.1.20:65535", "192.168.1.20", 65535, false},
                      AddressCase{"[::]:8080", "::", 8080, false},
                      AddressCase{"", nullptr, 0, false}, AddressCase{"65536", nullptr, 0, false},
                      AddressCase{"-1", nullptr, 0, false}, AddressCase{"8080x", nullptr, 0, false},
                      AddressCase{"dryer.farm.example:8080", nullptr, 0, false},
                      AddressCase{"::1:8080", nullptr, 0, false},
                      AddressCase{"[::1]8080", nullptr, 0, false},
                      AddressCase{"300.1.1.1:80", nullptr, 0, false},
                      AddressCase{"127.0.0.1:", nullptr, 0, false}));

TEST(AccessToken, FormIsCheckedWithAReason)
{
    EXPECT_EQ(platform::web::CheckToken("bin-yard.office_2~x"), "");
    EXPECT_NE(platform::web::CheckToken("short"), "");
    EXPECT_NE(platform::web::CheckToken(std::string(257, 'a')), "");
    EXPECT_NE(platform::web::CheckToken("has a blank in it"), "");
    EXPECT_NE(platform::web::CheckToken("percent%41encoded"), "");
    EXPECT_NE(platform::web::CheckToken("ampersand&token=x"), "");
}

TEST(AccessToken, MadeUpTokensAreUsableAndDiffer)
{
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string token = platform::web::MakeToken();
        EXPECT_EQ(token.size(), 32u);
        EXPECT_EQ(platform::web::CheckToken(token), "");
        seen.insert(token);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(AccessToken, OnlyTheWholeTokenMatches)
{
    const std::string token = "abcdefghijkl0123";
    EXPECT_TRUE(platform::web::SameToken(token, token));
    EXPECT_FALSE(platform::web::SameToken("", token));
    EXPECT_FALSE(platform::web::SameToken("abcdefghijkl012", token));    // a prefix
    EXPECT_FALSE(platform::web::SameToken("abcdefghijkl01234", token));  // longer
    EXPECT_FALSE(platform::web::SameToken("Abcdefghijkl0123", token));
    EXPECT_FALSE(platform::web::SameToken(std::string("abcdefghijkl0123\0", 17), token));
    EXPECT_FALSE(platform::web::SameToken("", ""));  // no token is never a match
}

TEST(RequestQuery, ValuesArePercentDecodedAndBadEscapesGiveNothing)
{
    using platform::web::QueryValue;
    EXPECT_EQ(QueryValue("/?token=abc", "token"), "abc");
    EXPECT_EQ(QueryValue("/view?name=Anna+B&token=ab%2Dcd", "token"), "ab-cd");
    EXPECT_EQ(QueryValue("/view?name=Anna+B&token=ab%2Dcd", "name"), "Anna B");
    EXPECT_EQ(QueryValue("/view?tokenx=1&token=2", "token"), "2");
    EXPECT_EQ(QueryValue("/view", "token"), "");
    EXPECT_EQ(QueryValue("/view?token", "token"), "");
    EXPECT_EQ(QueryValue("/view?token=ab%2", "token"), "");
    EXPECT_EQ(QueryValue("/view?token=ab%zz", "token"), "");
    EXPECT_EQ(platform::web::TargetPath("/view?token=1"), "/view");
    EXPECT_EQ(platform::web::TargetPath("/"), "/");
}

struct RequestCase {
    const char* what;
    AccessRules rules;
    const char* target;
    const char* host;
    const char* origin;
    Refusal expected;
};

class RequestChecks : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestChecks, RefuseWhatCouldComeFromElsewhere)
{
    const RequestCase& c = GetParam();
    EXPECT_EQ(CheckRequest(c.rules, c.target, c.host, c.origin), c.expected) << c.what;
}

const AccessRules kOpenLoopback{"", true};
const AccessRules kWithToken{"abcdefghijkl0123", false};

INSTANTIATE_TEST_SUITE_P(
    Requests, RequestChecks,
    ::testing::Values(
        RequestCase{"loopback page", kOpenLoopback, "/", "127.0.0.1:8080", "", Refusal::Allowed},
        RequestCase{"localhost", kOpenLoopback, "/", "LocalHost:8080", "", Refusal::Allowed},
        RequestCase{"ipv6", kOpenLoopback, "/", "[::1]:8080", "", Refusal::Allowed},
        RequestCase{"no host (a tool)", kOpenLoopback, "/", "", "", Refusal::Allowed},
        RequestCase{"a name turned to 127.0.0.1", kOpenLoopback, "/", "evil.example:8080", "",
                    Refusal::ForeignHost},
        RequestCase{"own origin", kOpenLoopback, "/view", "127.0.0.1:8080", "http://127.0.0.1:8080",
                    Refusal::Allowed},
        RequestCase{"another site's page", kOpenLoopback, "/view", "127.0.0.1:8080",
                    "http://evil.example", Refusal::ForeignOrigin},
        RequestCase{"another port", kOpenLoopback, "/view", "127.0.0.1:8080",
                    "http://127.0.0.1:9999", Refusal::ForeignOrigin},
        RequestCase{"a file page", kOpenLoopback, "/view", "127.0.0.1:8080", "null",
                    Refusal::ForeignOrigin},
        RequestCase{"token given", kWithToken, "/?token=abcdefghijkl0123", "dryer.lan:8080", "",
                    Refusal::Allowed},
        RequestCase{"token missing", kWithToken, "/", "10.0.0.2:8080", "", Refusal::NeedsToken},
        RequestCase{"wrong token", kWithToken, "/view?token=abcdefghijkl0124", "10.0.0.2:8080", "",
                    Refusal::NeedsToken},
        RequestCase{"token of another parameter", kWithToken, "/?x=abcdefghijkl0123",
                    "10.0.0.2:8080", "", Refusal::NeedsToken},
        RequestCase{"token, foreign origin", kWithToken, "/view?token=abcdefghijkl0123",
                    "10.0.0.2:8080", "http://evil.example", Refusal::ForeignOrigin}),
    [](const auto& c) { return "Case" + std::to_string(c.index); });

}  // namespace
