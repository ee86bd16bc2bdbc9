#include <gtest/gtest.h>

#include <map>

#include "standard/CEndpoint.h"
#include "standard/CException.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CEndpoint;
using nuv::CException;
using nuv::CIPAddress;

TEST(CEndpointTest, ParsesTextForms) {
  struct Case {
    const char* text;
    const char* address;
    std::uint16_t port;
    const char* rendered;
  };
  const Case cases[] = {
      {"[ff02::1:2]:547", "ff02::1:2", 547, "[ff02::1:2]:547"},
      {"[2001:DB8::1]:0", "2001:db8::1", 0, "[2001:db8::1]:0"},
      {"[2001:db8::1]", "2001:db8::1", 0, "[2001:db8::1]:0"},
      {"2001:db8::1", "2001:db8::1", 0, "[2001:db8::1]:0"},
      {"192.0.2.1:67", "192.0.2.1", 67, "192.0.2.1:67"},
      {"192.0.2.1:65535", "192.0.2.1", 65535, "192.0.2.1:65535"},
      {"192.0.2.1", "192.0.2.1", 0, "192.0.2.1:0"},
  };
  for (const Case& c : cases) {
    const CEndpoint ep(c.text);
    EXPECT_EQ(ep.address(), CIPAddress(c.address)) << c.text;
    EXPECT_EQ(ep.port(), c.port) << c.text;
    EXPECT_EQ(ep.string(), c.rendered) << c.text;
    EXPECT_EQ(CEndpoint(ep.string()), ep) << "rendered form parses back";
    EXPECT_EQ(CEndpoint::fromText(c.text), ep) << c.text;
  }
  EXPECT_FALSE(CEndpoint::fromText("[2001:db8::1]", true));
  EXPECT_FALSE(CEndpoint::fromText("192.0.2.1", true));
  EXPECT_EQ(CEndpoint::fromText("192.0.2.1:5", true), CEndpoint("192.0.2.1:5"));
  EXPECT_FALSE(CEndpoint::fromText("localhost:547")) << "names are not resolved";
}

TEST(CEndpointTest, RejectsUnparsableText) {
  const char* bad[] = {"",
                       "[",
                       "[2001:db8::1",
                       "[2001:db8::1]547",
                       "[2001:db8::1]:",
                       "[2001:db8::1]:65536",
                       "[2001:db8::1]:-1",
                       "[192.0.2.1]:67",
                       "[nonsense]:1",
                       "192.0.2.1:",
                       "192.0.2.1:x",
                       "192.0.2.1:99999",
                       "192.0.2.1: 67",
                       "192.0.2.256:67",
                       "1.2.3.4.5",
                       ":547",
                       "host name:547",
                       "bad_char$:1",
                       "a..b:1",
                       "-"};
  for (const char* text : bad) {
    EXPECT_FALSE(CEndpoint::fromText(text)) << text;
    const Failure f = failureOf([&] { CEndpoint ep(text); });
    EXPECT_EQ(f.what, "Cannot create endpoint.") << text;
    EXPECT_EQ(f.why, std::string("Text '") + text + "' is not a valid ip address or host name.");
  }
}

TEST(CEndpointTest, ResolvesHostNames) {
  try {
    CEndpoint missing("no-such-host.invalid:547");
    ADD_FAILURE() << "resolved " << missing.string();
  } catch (const CException& e) {
    EXPECT_EQ(e.whatText(), "Failed to resolve host name 'no-such-host.invalid'.");
    EXPECT_EQ(e.whyText(), "Name does not resolve.");
    EXPECT_EQ(e.module, "standard");
  }
  // localhost normally resolves; where it does, it is a loopback address.
  try {
    const CEndpoint local("localhost:547");
    EXPECT_TRUE(local.address().isLoopBack()) << local.string();
    EXPECT_EQ(local.port(), 547);
  } catch (const CException& e) {
    EXPECT_EQ(e.whyText(), "Name does not resolve.");
  }
}

TEST(CEndpointTest, ConvertsSocketAddresses) {
  const CEndpoint v6("[2001:db8::7]:547");
  const sockaddr_in6 sa6 = v6.toSockaddrIn6();
  EXPECT_EQ(sa6.sin6_family, AF_INET6);
  EXPECT_EQ(ntohs(sa6.sin6_port), 547);
  EXPECT_EQ(CEndpoint(sa6), v6);
  EXPECT_THROW(v6.toSockaddrIn(), CException);

  const CEndpoint v4("192.0.2.9:67");
  const sockaddr_in sa4 = v4.toSockaddrIn();
  EXPECT_EQ(sa4.sin_family, AF_INET);
  EXPECT_EQ(ntohs(sa4.sin_port), 67);
  EXPECT_EQ(CEndpoint(sa4), v4);
  // IPv4 over an IPv6 socket goes in mapped form.
  EXPECT_EQ(CEndpoint(v4.toSockaddrIn6()).address(), CIPAddress("::ffff:192.0.2.9"));
  EXPECT_EQ(CEndpoint(CEndpoint(v4.toSockaddrIn6()).toSockaddrIn()), v4);

  for (const CEndpoint& ep : {v4, v6}) {
    sockaddr_storage ss;
    const socklen_t len = ep.toSockaddr(ss);
    EXPECT_EQ(len,
              ep.address().type() == CIPAddress::ipv4 ? sizeof(sockaddr_in) : sizeof(sockaddr_in6));
    EXPECT_EQ(CEndpoint(ss), ep);
  }
  sockaddr_storage unix{};
  unix.ss_family = AF_UNIX;
  EXPECT_THROW(CEndpoint{unix}, CException);
  sockaddr_storage ss;
  EXPECT_THROW(CEndpoint().toSockaddr(ss), CException);
}

TEST(CEndpointTest, OrdersTotally) {
  // Ascending: IPv4 before IPv6, unset last; then address, then port.
  const CEndpoint ascending[] = {
      CEndpoint("10.0.0.1:1"),    CEndpoint("10.0.0.1:2"),     CEndpoint("10.0.0.2:1"),
      CEndpoint("[::1]:9"),       CEndpoint("[2001:db8::]:1"), CEndpoint(),
      CEndpoint(CIPAddress(), 5),
  };
  for (std::size_t i = 0; i < std::size(ascending); ++i)
    for (std::size_t j = 0; j < std::size(ascending); ++j) {
      EXPECT_EQ(ascending[i] < ascending[j], i < j) << i << " < " << j;
      EXPECT_EQ(ascending[i] == ascending[j], i == j) << i << " == " << j;
    }
  std::map<CEndpoint, int> byEndpoint{{CEndpoint(), 1}, {CEndpoint("[::1]:547"), 2}};
  EXPECT_EQ(byEndpoint.at(CEndpoint("[::1]:547")), 2);
}
