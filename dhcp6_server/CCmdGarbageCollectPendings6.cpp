#include "dhcp6_server/CCmdGarbageCollectPendings6.h"

// The collection itself (stale address and prefix pendings removed in the
// thread's transaction, their candidates released after commit, the recall
// message) needs the pending finders of the lease store and replaces this
// body when they exist; until then a run finds nothing to collect.
void CCmdGarbageCollectPendings6::execute(long) {
  signalResult();
}
