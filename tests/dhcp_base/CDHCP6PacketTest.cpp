// Framing of DHCPv6 datagrams: header lengths, relay layers, the checks a
// server and a client make (and their order), and replies written back
// through the relay path. Client messages come from scapy
// (tests/data/make_framing_packets.py).

#include <gtest/gtest.h>

#include "PacketFixture.h"

using namespace packettest;

namespace {

const std::string kClient = "0001000a00030001001122334455";
const std::string kServer = "0002000e000100010102030400aabbccddee";
const std::string kEmptyIANA = "0003000c0a0b0c0d0000000000000000";

// A relay-forward (hop-count 0, zero addresses) around inner.
std::string relayAround(const std::string& inner) {
  char len[8];
  std::snprintf(len, sizeof len, "%04x", static_cast<unsigned>(inner.size() / 2) & 0xffffu);
  return "0c00" + std::string(64, '0') + "0009" + len + inner;
}

class CDHCP6PacketTest : public PacketFixture {
 protected:
  std::string serverFailure(const std::string& hex,
                            const nuv::CIPAddress& destination = kMulticast) {
    const std::vector<std::uint8_t> d = bytes(hex);
    return failure([&] { request.serverSetFromRaw(d.data(), d.size(), destination); });
  }
  std::string clientFailure(const std::string& hex) {
    const std::vector<std::uint8_t> d = bytes(hex);
    return failure([&] { request.clientSetFromRaw(d.data(), d.size(), kMulticast); });
  }
  static std::string scapyHex(const char* name) {
    const std::vector<std::uint8_t> d = datagram(name);
    return hex(d.data(), d.size());
  }
  static std::string text(const COptionStorePtr& layer, std::uint32_t code) {
    return layer->find(CTagPath{code})->string();
  }
};

}  // namespace

TEST_F(CDHCP6PacketTest, MinimumLengths) {
  const char* tooShortHeader =
      "Error parsing dhcp packet. | The buffer is too short to contain a "
      "dhcp6 header.";
  const char* tooShortMessage =
      "Error parsing dhcp packet. | The buffer is too short to contain "
      "a dhcp6 message header.";
  const char* tooShortRelay =
      "Error parsing dhcp packet. | The buffer is too short to contain a "
      "dhcp6 relay message header.";
  // One byte past the header passes the length test and fails in the
  // options that follow.
  const char* optionTag = "Cannot read option tag. | Malformed buffer (no terminator found).";
  const std::string relay34 = "0c00" + std::string(64, '0');
  const struct {
    const char* name;
    std::string hex;
    const char* expected;
  } cases[] = {
      {"empty datagram", "", tooShortHeader},
      {"4-byte message", "0b000006", tooShortMessage},
      {"5-byte message", "0b00000600", optionTag},
      {"34-byte relay", relay34, tooShortRelay},
      {"35-byte relay", relay34 + "00", optionTag},
      {"empty relayed message", relayAround(""), tooShortHeader},
      {"4-byte relayed message", relayAround("0b000006"), tooShortMessage},
      {"34-byte inner relay", relayAround(relay34), tooShortRelay},
      {"header and one option", "0b000006000800020064", "no exception"},
  };
  for (const auto& c : cases) EXPECT_EQ(serverFailure(c.hex), c.expected) << c.name;
}

TEST_F(CDHCP6PacketTest, TwoRelayLayers) {
  parseServer(datagram("relay2_solicit"));
  ASSERT_EQ(request.relayCount(), 2u);
  const COptionStorePtr& outer = request.outerRelayOptions();
  const COptionStorePtr& inner = request.innerRelayOptions();
  EXPECT_EQ(outer, request.relayOptions()[0]);
  EXPECT_EQ(inner, request.relayOptions()[1]);

  EXPECT_EQ(text(outer, Code::msgType), "12");
  EXPECT_EQ(text(outer, Code::hopCount), "1");
  EXPECT_EQ(CValueTypeConverter::ip(*outer->find(CTagPath{Code::linkAddress}), 0).string(),
            "2001:db8:ffff::1");
  EXPECT_EQ(CValueTypeConverter::ip(*outer->find(CTagPath{Code::peerAddress}), 0).string(),
            "2001:db8:1::1");
  EXPECT_EQ(CDHCP6Util::optionData(outer, Code::interfaceID),
            nuv::CHexStore::parse("75706c696e6b2d37", ""));
  EXPECT_TRUE(outer->defined(CTagPath{37}));
  EXPECT_EQ(text(inner, Code::hopCount), "0");
  EXPECT_EQ(CDHCP6Util::optionData(inner, Code::interfaceID),
            nuv::CHexStore::parse("657468302f31", ""));
  // The Relay Message became the next layer.
  EXPECT_FALSE(outer->defined(CTagPath{Code::relayMsg}));
  EXPECT_FALSE(inner->defined(CTagPath{Code::relayMsg}));

  EXPECT_EQ(request.hostAddress(nuv::CIPAddress("2001:db8:ffff::1")).string(),
            "fe80::211:22ff:fe33:4455");
  EXPECT_EQ(request.linkAddress().string(), "2001:db8:1::1");
  EXPECT_EQ(request.circuitID(), nuv::CHexStore::parse("657468302f31", ""));
  EXPECT_EQ(request.msgType(), CDHCP6MsgType::solicit);
  EXPECT_EQ(request.transactionID(), 0x123456u);
  EXPECT_EQ(request.clientID(), nuv::CHexStore::parse("00030001001122334455", ""));
}

TEST_F(CDHCP6PacketTest, RelayOptionsAfterTheRelayMessageStayInTheLayer) {
  parseServer(datagram("relay_msg_first"));
  ASSERT_EQ(request.relayCount(), 1u);
  EXPECT_EQ(request.circuitID(), nuv::CHexStore::parse("706f72742d39", ""));
  EXPECT_EQ(request.msgType(), CDHCP6MsgType::info_request);
  EXPECT_EQ(request.transactionID(), 7u);

  EXPECT_EQ(failure([&] { parseServer(datagram("relay_without_message")); }),
            "Cannot find option 9 in container in-relay-0-options. | No such option.");
  EXPECT_EQ(failure([&] { parseServer(datagram("relay_two_messages")); }),
            "Invalid dhcp6 packet. | The relay layer holds more than one Relay Message option.");
}

TEST_F(CDHCP6PacketTest, ScapyClientMessagesParseAndWriteBackUnchanged) {
  const struct {
    const char* name;
    CDHCP6MsgType::value_type type;
    std::uint32_t transactionID;
  } cases[] = {
      {"solicit", CDHCP6MsgType::solicit, 0x123456},
      {"request", CDHCP6MsgType::request, 0xabcdef},
      {"renew", CDHCP6MsgType::renew, 1},
      {"rebind", CDHCP6MsgType::rebind, 2},
      {"release", CDHCP6MsgType::release, 3},
      {"decline", CDHCP6MsgType::decline, 4},
      {"confirm", CDHCP6MsgType::confirm, 5},
      {"info_request", CDHCP6MsgType::info_request, 6},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> d = datagram(c.name);
    parseServer(d);
    EXPECT_EQ(request.relayCount(), 0u) << c.name;
    EXPECT_EQ(request.msgType(), c.type) << c.name;
    EXPECT_EQ(request.transactionID(), c.transactionID) << c.name;
    std::size_t size = 0;
    const std::uint8_t* out = request.rawClientPacket(size);
    EXPECT_EQ(hex(out, size), hex(d.data(), d.size())) << c.name;
  }
}

TEST_F(CDHCP6PacketTest, ServerChecksAndTheirOrder) {
  const nuv::CIPAddress unicast("2001:db8::5");
  const std::string requestWithoutIDs = "03000012" + kEmptyIANA;
  // Only Request, Renew, Release and Decline may be sent to a unicast
  // address, relayed or not.
  const std::pair<const char*, const char*> multicastOnly[] = {
      {"solicit", "solicit"},
      {"confirm", "confirm"},
      {"rebind", "rebind"},
      {"info_request", "info-request"},
      {"relay_solicit", "solicit"},
      // before the identifiers
      {"solicit_with_server_id", "solicit"}};
  for (const auto& [name, type] : multicastOnly)
    EXPECT_EQ(serverFailure(scapyHex(name), unicast),
              std::string("Invalid dhcp6 packet. | Received message type '") + type +
                  "', but destination address '2001:db8::5' was a unicast address.")
        << name;
  const struct {
    const char* name;
    std::string hex;
    nuv::CIPAddress destination;
    const char* expected;
  } cases[] = {
      {"request to unicast", scapyHex("request"), unicast, "no exception"},
      {"renew to unicast", scapyHex("renew"), unicast, "no exception"},
      {"solicit to ::", scapyHex("solicit"), nuv::CIPAddress("::"), "no exception"},
      {"solicit to all ones", scapyHex("solicit"),
       nuv::CIPAddress("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"), "no exception"},
      {"solicit, no destination", scapyHex("solicit"), nuv::CIPAddress(), "no exception"},
      {"solicit with server id", scapyHex("solicit_with_server_id"), kMulticast,
       "Invalid dhcp6 packet. | Message type is 'solicit', but the packet includes option "
       "server-id."},
      {"renew without server id", scapyHex("renew_without_server_id"), kMulticast,
       "Invalid dhcp6 packet. | Message type is 'renew', but missing option server-id."},
      {"request without client id", scapyHex("request_without_client_id"), kMulticast,
       "Invalid dhcp6 packet. | Message type is 'request', but missing option client-id."},
      // The Client Identifier is checked before the Server Identifier.
      {"request without either id", requestWithoutIDs, kMulticast,
       "Invalid dhcp6 packet. | Message type is 'request', but missing option client-id."},
      {"info-request without client id", scapyHex("info_request"), kMulticast, "no exception"},
      // The IA test comes before every other.
      {"info-request with IA_PD to unicast", scapyHex("info_request_with_ia_pd"), unicast,
       "Invalid dhcp6 packet. | Message type is 'info-request' and one or more IA options are "
       "defined."},
      {"advertise", scapyHex("advertise"), kMulticast,
       "Invalid dhcp6 packet. | Message type 'advertise' is not valid from a dhcp6 client."},
      {"reply", scapyHex("reply_no_addrs"), kMulticast,
       "Invalid dhcp6 packet. | Message type 'reply' is not valid from a dhcp6 client."},
      {"lease-query", "0e000001" + kClient, kMulticast, "no exception"},
      {"type 200", "c8000001" + kClient, kMulticast,
       "Cannot set dhcpv6 message type. | Invalid dhcpv6 message value '200'."},
  };
  for (const auto& c : cases) EXPECT_EQ(serverFailure(c.hex, c.destination), c.expected) << c.name;
}

TEST_F(CDHCP6PacketTest, ClientChecks) {
  const std::string reconfigure = "0a000001" + kClient + kServer;
  const std::string auth =
      "000b000b"
      "030100"
      "0000000000000001";
  const struct {
    const char* name;
    std::string hex;
    const char* expected;
  } cases[] = {
      {"advertise", scapyHex("advertise"), "no exception"},
      {"reply", scapyHex("reply_no_addrs"), "no exception"},
      {"solicit", scapyHex("solicit"),
       "Invalid dhcpv6 message type 'solicit'. | Message type is not valid for a dhcp6 client."},
      {"relay-reply", scapyHex("relay_reply"),
       "Invalid dhcp6 packet. | The client received a relay agent message."},
      {"reply without server id", "07000020" + kClient,
       "Invalid dhcp6 packet. | Message type is 'reply', but missing option 'server-id'."},
      {"reply without client id", "07000020" + kServer, "no exception"},
      {"advertise without client id", "02000020" + kServer,
       "Invalid dhcp6 packet. | Message type is 'advertise', but missing option 'client-id'."},
      {"reconfigure without message", reconfigure + auth,
       "Invalid dhcp6 packet. | Message type is 'reconfigure', but missing option 'reconf-msg'."},
      {"reconfigure to rebind", reconfigure + "0013000106" + auth,
       "Invalid dhcp6 packet. | Option reconf-msg has invalid value '6'."},
      {"reconfigure to info-request with IA", reconfigure + "001300010b" + kEmptyIANA + auth,
       "Invalid dhcp6 packet. | Option reconf-msg has value '11', but also includes one or more "
       "IA options."},
      {"reconfigure without auth", reconfigure + "0013000105",
       "Invalid dhcp6 packet. | Message type is 'reconfigure', but missing option auth."},
      {"reconfigure to renew", reconfigure + "0013000105" + auth, "no exception"},
      {"lease-query-reply", "0f000001",
       "Error parsing dhcp packet. | The buffer is too short to "
       "contain a dhcp6 message header."},
      {"lease-query-reply with options", "0f000001" + kClient, "no exception"},
  };
  for (const auto& c : cases) EXPECT_EQ(clientFailure(c.hex), c.expected) << c.name;
}

TEST_F(CDHCP6PacketTest, DirectionFromType) {
  const char* guess = "Error guessing dhcp6 packet type. | Invalid or unknown message type.";
  const struct {
    const char* name;
    std::string hex;
    const char* expected;
  } cases[] = {
      {"empty", "",
       "Error parsing dhcp packet. | The buffer is too short to contain a dhcp6 "
       "header."},
      {"type 0", "00000001" + kClient, guess},
      {"type 16", "10000001" + kClient, guess},
      {"solicit: server direction", scapyHex("solicit"), "no exception"},
      {"relayed solicit: server direction", scapyHex("relay_solicit"), "no exception"},
      {"advertise: client direction", scapyHex("advertise"), "no exception"},
      {"relay-reply: client direction", scapyHex("relay_reply"),
       "Invalid dhcp6 packet. | The client received a relay agent message."},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> d = bytes(c.hex);
    EXPECT_EQ(failure([&] { request.unknownSetFromRaw(d.data(), d.size(), kMulticast); }),
              c.expected)
        << c.name;
  }
}

TEST_F(CDHCP6PacketTest, ReplyToDoublyRelayedRequest) {
  parseServer(datagram("relay2_solicit"));
  startReply(CDHCP6MsgType::reply);
  addLeases();
  const std::vector<std::uint8_t> b = serialise(reply);
  ASSERT_LE(b.size(), CDHCP6Packet::kMaxReplySize);
  EXPECT_EQ(reply.pktLength(), b.size());

  // Each relay-reply echoes its relay's header and options, and ends with
  // the Relay Message, whose data runs to the end of the datagram.
  const struct {
    const char* hopLinkPeer;
    const char* interfaceID;
    std::vector<std::uint32_t> codes;
  } layers[] = {
      {"01"
       "20010db8ffff00000000000000000001"
       "20010db8000100000000000000000001",
       "75706c696e6b2d37",
       {Code::interfaceID, 37, Code::relayMsg}},
      {"00"
       "20010db8000100000000000000000001"
       "fe80000000000000021122fffe334455",
       "657468302f31",
       {Code::interfaceID, Code::relayMsg}},
  };
  std::size_t pos = 0;
  for (const auto& layer : layers) {
    EXPECT_EQ(b[pos], CDHCP6MsgType::relay_reply);
    EXPECT_EQ(hex(&b[pos + 1], 33), layer.hopLinkPeer);
    const std::vector<Tlv> options = tlvs(b, pos + 34, b.size());
    std::vector<std::uint32_t> codes;
    for (const Tlv& t : options) codes.push_back(t.code);
    ASSERT_EQ(codes, layer.codes);
    EXPECT_EQ(hex(&b[options[0].offset + 4], options[0].length), layer.interfaceID);
    EXPECT_EQ(options.back().offset + 4 + options.back().length, b.size());
    pos = options.back().offset + 4;
  }
  EXPECT_EQ(hex(&b[pos], 4), "07123456");
  // The reply's layers are copies: the request's stay as they came.
  EXPECT_EQ(text(request.outerRelayOptions(), Code::msgType), "12");
  EXPECT_EQ(text(request.innerRelayOptions(), Code::msgType), "12");
  EXPECT_EQ(reply.circuitID(), request.circuitID());  // for the handler's log line

  // The innermost message as a client reads it.
  CDHCP6Packet client(&ctx, "client");
  client.clientSetFromRaw(&b[pos], b.size() - pos, kMulticast);
  EXPECT_EQ(client.msgType(), CDHCP6MsgType::reply);
  EXPECT_EQ(client.clientID(), request.clientID());
  EXPECT_EQ(CDHCP6Util::requestedServer(client.hostOptions()), kServerDUID);
  const COptionPtr na = CDHCP6Util::findIA(CIAType::iana, 0x0a0b0c0d, client.hostOptions());
  ASSERT_TRUE(na);
  EXPECT_EQ(na->find(CTagPath{2})->string(), "1800");
  EXPECT_EQ(na->find(CTagPath{3})->string(), "2880");
  EXPECT_TRUE(CDHCP6Util::findIAAddress(CIAType::iapd, 0x11223344,
                                        nuv::CIPAddress("2001:db8:100::"), client.hostOptions()));
}

TEST_F(CDHCP6PacketTest, ReplyWithoutRelays) {
  parseServer(datagram("solicit"));
  startReply(CDHCP6MsgType::advertise);
  addLeases();
  // A server setting in the reply's options never goes on the wire.
  const std::vector<std::uint8_t> before = serialise(reply);
  COptionPtr ttl;
  CDHCP6Util::createAndStore(100009, reply.hostOptions(), ttl);
  CValueTypeInserter::push_back(std::uint32_t{300}, *ttl);
  EXPECT_EQ(serialise(reply), before);

  ASSERT_GE(before.size(), 4u);
  EXPECT_EQ(hex(before.data(), 4), "02123456");
  const std::vector<Tlv> options = tlvs(before, 4, before.size());
  std::vector<std::uint32_t> codes;
  for (const Tlv& t : options) codes.push_back(t.code);
  EXPECT_EQ(codes,
            (std::vector<std::uint32_t>{Code::serverID, Code::clientID, Code::iaNA, Code::iaPD}));
}

TEST_F(CDHCP6PacketTest, SerialisingChecksTheReply) {
  parseServer(datagram("solicit"));
  EXPECT_EQ(failure([&] { serialise(request); }),
            "Invalid dhcpv6 message type 'solicit'. | Message type is not valid for a dhcp6 "
            "client.");
  reply.transactionID(0x42);
  reply.msgType(CDHCP6MsgType::reply);
  EXPECT_EQ(failure([&] { serialise(reply); }),
            "Invalid dhcp6 packet. | Message type is 'reply', but missing option 'server-id'.");

  // More than 1280 bytes: the codecs refuse.
  startReply(CDHCP6MsgType::reply);
  COptionPtr dns;
  CDHCP6Util::createAndStore(23, reply.hostOptions(), dns);
  for (int i = 0; i < 80; ++i)
    CValueTypeInserter::push_back(nuv::CIPAddress("2001:db8::53") + i, *dns);
  EXPECT_EQ(failure([&] { serialise(reply); }).rfind("Cannot write header for option 23. | ", 0),
            0u);
}

TEST_F(CDHCP6PacketTest, ClearForgetsEverything) {
  parseServer(datagram("relay_solicit"));
  ASSERT_EQ(request.relayCount(), 1u);
  request.clear();
  EXPECT_EQ(request.relayCount(), 0u);
  EXPECT_EQ(request.hostOptions()->count(), 0u);
  EXPECT_EQ(request.pktLength(), 0u);
  EXPECT_EQ(failure([&] { request.innerRelayOptions(); }),
            "Attempt to access invalid inner relay options. | No relay options exist.");
  EXPECT_EQ(failure([&] { request.outerRelayOptions(); }),
            "Attempt to access invalid outer relay options. | No relay options exist.");
  const nuv::CIPAddress source("fe80::1");
  EXPECT_EQ(request.hostAddress(source), source);
  EXPECT_EQ(request.linkAddress().string(), "::");
  EXPECT_TRUE(request.circuitID().empty());
  EXPECT_TRUE(request.clientID().empty());
}

TEST_F(CDHCP6PacketTest, TextFormLabelsEachLayer) {
  parseServer(datagram("relay_solicit"));
  const std::string text = request.string();
  EXPECT_NE(text.find("host-option transaction-id = 1193046\nhost-option msg-type = 1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("relay-0-option msg-type = 12\nrelay-0-option hop-count = 0\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("relay-0-option interface-id = "), std::string::npos) << text;
}
