#include "extended/CProtocolFamily.h"

#include "standard/CException.h"

void CProtocolFamily::_invalid(unsigned family) {
  NUV_THROW("CProtocolFamily::CProtocolFamily",
            nuv::CMessage("Cannot create protocol family %1.").push(family),
            nuv::CMessage("Only families 4 and 6 exist."));
}
