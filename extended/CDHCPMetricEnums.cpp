#include "extended/CDHCPMetricEnums.h"

#include <cstddef>

namespace {

struct Row {
  CDHCPMetricEnums::Metric id;
  const char* suffix;
};

using M = CDHCPMetricEnums;

// clang-format off
constexpr Row kRows[] = {
  {M::packetsV4Discover, "packets.v4_discover"},
  {M::packetsV4Offer, "packets.v4_offer"},
  {M::packetsV4Request, "packets.v4_request"},
  {M::packetsV4Decline, "packets.v4_decline"},
  {M::packetsV4Ack, "packets.v4_ack"},
  {M::packetsV4Nak, "packets.v4_nak"},
  {M::packetsV4Release, "packets.v4_release"},
  {M::packetsV4Inform, "packets.v4_inform"},
  {M::packetsV4ForceRenew, "packets.v4_force_renew"},
  {M::packetsV4LeaseQuery, "packets.v4_lease_query"},
  {M::packetsV4LeaseUnassigned, "packets.v4_lease_unassigned"},
  {M::packetsV4LeaseUnknown, "packets.v4_lease_unknown"},
  {M::packetsV4LeaseActive, "packets.v4_lease_active"},
  {M::packetsV4BootpRequest, "packets.v4_bootp_request"},
  {M::packetsV4BootpReply, "packets.v4_bootp_reply"},
  {M::packetsV6Solicit, "packets.v6_solicit"},
  {M::packetsV6Advertise, "packets.v6_advertise"},
  {M::packetsV6Request, "packets.v6_request"},
  {M::packetsV6Confirm, "packets.v6_confirm"},
  {M::packetsV6Renew, "packets.v6_renew"},
  {M::packetsV6Rebind, "packets.v6_rebind"},
  {M::packetsV6Reply, "packets.v6_reply"},
  {M::packetsV6Release, "packets.v6_release"},
  {M::packetsV6Decline, "packets.v6_decline"},
  {M::packetsV6Reconfig, "packets.v6_reconfig"},
  {M::packetsV6InfoReq, "packets.v6_info_req"},
  {M::packetsV6RelayForward, "packets.v6_relay_forward"},
  {M::packetsV6RelayReply, "packets.v6_relay_reply"},
  {M::packetsV6LeaseQuery, "packets.v6_lease_query"},
  {M::packetsV6LeaseQueryReply, "packets.v6_lease_query_reply"},
  {M::packetsInput, "packets.input"},
  {M::packetsOutput, "packets.output"},
  {M::packetsQueryResponse, "packets.query_response"},
  {M::packetsParseFail, "packets.parse_fail"},
  {M::packetsUnknownType, "packets.unknown_type"},
  {M::recalledOffer, "recalled_offer"},
  {M::packetsRecvFail, "packets.recv_fail"},
  {M::packetsRecvTrunc, "packets.recv_trunc"},
  {M::packetsRecvEmpty, "packets.recv_empty"},
  {M::packetsSendFail, "packets.send_fail"},
  {M::updatesForward, "updates.forward"},
  {M::updatesReverse, "updates.reverse"},
  {M::deletesForward, "deletes.forward"},
  {M::deletesReverse, "deletes.reverse"},
  {M::accepts, "accepts"},
  {M::denies, "denies"},
  {M::addressRequests, "address.requests"},
  {M::addressFrameSwap, "address.frame_swap"},
  {M::addressAvailable, "address.available"},
  {M::addressUnavailable, "address.unavailable"},
  {M::bindingReclaimed, "binding.reclaimed"},
  {M::holeReclaimed, "hole.reclaimed"},
  {M::jobExecuted, "job.executed"},
  {M::receivedBndRequest, "received_bnd_request"},
  {M::packetDiscardBndReqAge, "packet.discard_bnd_req_age"},
  {M::packetParseFail, "packet.parse_fail"},
  {M::packetDiscardAge, "packet.discard_age"},
  {M::discardNoPacket, "discard.no_packet"},
  {M::messageParseFail, "message.parse_fail"},
  {M::messageSendFail, "message.send_fail"},
  {M::messageRecvFail, "message.recv_fail"},
  {M::messageBindUpdateRequestMsg, "message.bind_update.request_msg"},
  {M::messageBindUpdateRequest, "message.bind_update.request"},
  {M::messageBindUpdateRequestAdd, "message.bind_update.request.add"},
  {M::messageBindUpdateRequestModify, "message.bind_update.request.modify"},
  {M::messageBindUpdateRequestDelete, "message.bind_update.request.delete"},
  {M::messageBindUpdateRequestFmodifyOnly, "message.bind_update.request.fmodify_only"},
  {M::messageBindUpdateRequestFdeleteOnly, "message.bind_update.request.fdelete_only"},
  {M::messageBindUpdateRequestRecover, "message.bind_update.request.recover"},
  {M::messageBindUpdateAckMsg, "message.bind_update.ack_msg"},
  {M::messageBindUpdateAck, "message.bind_update.ack"},
  {M::messageBindUpdateAckAdd, "message.bind_update.ack.add"},
  {M::messageBindUpdateAckModify, "message.bind_update.ack.modify"},
  {M::messageBindUpdateAckDelete, "message.bind_update.ack.delete"},
  {M::messageBindUpdateAckFmodifyOnly, "message.bind_update.ack.fmodify_only"},
  {M::messageBindUpdateAckFdeleteOnly, "message.bind_update.ack.fdelete_only"},
  {M::messageBindUpdateAckRecover, "message.bind_update.ack.recover"},
  {M::messagePoolRequest, "message.pool.request"},
  {M::messagePoolAck, "message.pool.ack"},
  {M::messageConnectRequest, "message.connect.request"},
  {M::messageConnectAck, "message.connect.ack"},
  {M::messageDisconnect, "message.disconnect"},
  {M::messageUpdateRequestAll, "message.update.request_all"},
  {M::messageUpdateUpdateRequestUnacked, "message.update.update.request_unacked"},
  {M::messageUpdateUpdateRequestAck, "message.update.update.request_ack"},
  {M::messageHeartbeatSend, "message.heartbeat.send"},
  {M::messageHeartbeatRecv, "message.heartbeat.recv"},
  {M::statePreStartup, "state.pre_startup"},
  {M::stateStartup, "state.startup"},
  {M::stateRecover, "state.recover"},
  {M::stateRecoverWait, "state.recover_wait"},
  {M::stateRecoverDone, "state.recover_done"},
  {M::stateCommunicationsInterrupted, "state.communications_interrupted"},
  {M::statePotentialConflict, "state.potential_conflict"},
  {M::statePartnerDown, "state.partner_down"},
  {M::stateResolutionInterrupted, "state.resolution_interrupted"},
  {M::stateConflictDone, "state.conflict_done"},
  {M::statePaused, "state.paused"},
  {M::stateShutdown, "state.shutdown"},
  {M::stateNormal, "state.normal"},
  {M::peerConnect, "peer.connect"},
  {M::peerConnectAck, "peer.connect_ack"},
  {M::peerDisconnect, "peer.disconnect"},
  {M::packetsDbUnavailable, "packets.db_unavailable"},};
// clang-format on

constexpr std::size_t kFirst = M::packetsV4Discover;
constexpr std::size_t kRowCount = sizeof kRows / sizeof kRows[0];
static_assert(kFirst + kRowCount == M::metricCount, "one row per DHCP metric");

constexpr bool inIdOrder() {
  for (std::size_t i = 0; i < kRowCount; ++i)
    if (static_cast<std::size_t>(kRows[i].id) != kFirst + i) return false;
  return true;
}
static_assert(inIdOrder(), "rows in identifier order");

}  // namespace

CDHCPMetricEnums::CDHCPMetricEnums() {
  for (const Row& row : kRows) name(row.id, makeTemplate(row.suffix));
}
