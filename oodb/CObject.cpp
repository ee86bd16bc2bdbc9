#include "oodb/CObject.h"

#include "oodb/CPrstException.h"

void nuv::CObject::string(std::string_view) {
  PRST_THROW("CObject::string",
             nuv::CMessage("Cannot set object of type '%1' from text.").pushs(typeName()),
             nuv::CMessage("This operation is not allowed."));
}
