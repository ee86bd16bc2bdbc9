#pragma once
// The root of every object with a type name and a text form. Persistent
// records print themselves as "key = value" lines and are set from them.

#include <string>
#include <string_view>

namespace nuv {

class CObject {
 public:
  virtual ~CObject() = default;

  virtual std::string typeName() const = 0;
  virtual std::string string() const { return typeName(); }
  // Sets the object from its text form; objects without one refuse.
  virtual void string(std::string_view text);
  // The text form without secrets (passwords and the like).
  virtual std::string safe_string() const { return string(); }
  virtual std::string dump() const { return string(); }
};

}  // namespace nuv
