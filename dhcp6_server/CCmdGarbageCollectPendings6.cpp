#include "dhcp6_server/CCmdGarbageCollectPendings6.h"

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CCmdReleasePoolCandidate.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CIDHCPController.h"
#include "oodb/CPrstException.h"

namespace {

constexpr std::size_t kRowsPerRun = 1000;

// Deletes the kind's stale offers in the open transaction; each offered
// address or prefix is queued for release after commit. The count removed.
template <class Release, class Pending>
unsigned collect(CDHCP6TLS& tls, CPendingFinder<Pending>& finder) {
  unsigned removed = 0;
  for (const auto& pending : finder.findPending(CPendingFinder<Pending>::kStaleAge, kRowsPerRun)) {
    tls.syncCommands().append(std::make_unique<Release>(tls.context(), pending->offeredAddress(),
                                                        pending->poolOID(), tls.stats()));
    pending->deletePersistent();
    pending->commit();
    tls.stats().inc(CDHCPMetricEnums::recalledOffer);
    ++removed;
  }
  return removed;
}

// Nothing is released: every deletion of the run is undone. A failing
// rollback is recorded; the first failure is the one that counts.
void rollback(CDHCP6TLS& tls, CIDHCPController& controller) {
  try {
    tls.rollbackTransaction();
  } catch (const nuv::CException& again) {
    controller.exceptionFacade().record(again);
  }
}

}  // namespace

void CCmdGarbageCollectPendings6::execute(long threadIndex) {
  CDHCP6TLS& tls = m_pool.find(threadIndex);
  CIDHCPController& controller = *tls.controller();
  tls.syncCommands().clear();
  try {
    tls.startTransaction();
    const unsigned addresses = collect<CCmdReleaseAPoolCandidate>(tls, tls.apendingFinder());
    const unsigned prefixes = collect<CCmdReleaseNPoolCandidate>(tls, tls.npendingFinder());
    tls.commitTransaction();
    tls.syncCommands().execute(CSyncCommand::always | CSyncCommand::onCommit);
    if (addresses != 0 || prefixes != 0)
      controller.log().log(nuv::sev_info, nuv::CMessage("The server has recalled %1 offered "
                                                        "addresses and %2 offered prefixes that "
                                                        "were never accepted.")
                                              .push(addresses)
                                              .push(prefixes));
  } catch (const CPrstConflictException&) {
    // Another server sharing the database removed one of these offers, or
    // offered it again, first: nothing of the run is removed, and what is
    // still stale at the next run is removed then.
    rollback(tls, controller);
    controller.log().log(nuv::sev_info,
                         nuv::CMessage("Another server changed an offer being recalled; the "
                                       "server recalls stale offers again on its next run."));
  } catch (const nuv::CException& e) {
    rollback(tls, controller);
    controller.exceptionFacade().record(e);
    controller.exceptionFacade().log();
  } catch (...) {
    // Not ours to report, but the transaction must not outlive the run.
    rollback(tls, controller);
    tls.syncCommands().clear();
    signalResult();
    throw;
  }
  tls.syncCommands().clear();
  signalResult();
}
