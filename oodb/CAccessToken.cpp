#include "oodb/CAccessToken.h"

#include "oodb/SecurityFailure.h"

std::string CAccessToken::string() const {
  OODB_THROW_SECURITY("CAccessToken::string", nuv::CMessage("Invalid method call."),
                      nuv::CMessage("Wrong subclass."));
}
