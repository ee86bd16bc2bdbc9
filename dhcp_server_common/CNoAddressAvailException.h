#pragma once
// The address manager has no free address or prefix in the candidate
// pools: the IA it was asked for goes without an offer.

#include "standard/CException.h"

class CNoAddressAvailException : public nuv::CException {
 public:
  using nuv::CException::CException;
};
