#pragma once
// One node of a typed option tree: a message's option, a field of a fixed
// layout, a header pseudo-option or an option value held in a policy. The
// definition it was created from decides its value type and codec; the
// concrete classes are CStorageOption instances made only by the factory.
//
// Paths given to the tree operations are relative to this option: {23} in
// a store is the store's option 23, {4, 5} in an IA_NA is the IA Address
// inside its sub-option element. At each level the first child with the
// code is taken; children keep the order they were added or parsed in,
// which is also the order they are written in.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_base/COptionAttributes.h"
#include "dhcp_base/COptionType.h"
#include "dhcp_base/CTagPath.h"
#include "standard/CGeneralPtr.h"

class CDHCPContext;
class COptionInputContext;
class COptionOutputContext;

class COption {
 public:
  using Ptr = nuv::CGeneralPtr<COption>;
  using Children = std::vector<Ptr>;
  static constexpr COptionType::option_type kAnyType = COptionType::ot_unknown;

  COption(const COption&) = delete;
  COption& operator=(const COption&) = delete;
  virtual ~COption();
  virtual const char* typeName() const = 0;
  // The value type of the storage class (equal to the definition's type).
  virtual COptionType valueType() const = 0;

  // Configuration text form of the value; set from text (previous values
  // stay when the text is refused).
  virtual std::string string() const = 0;
  virtual void string(std::string_view text);
  virtual void string(std::string_view text, COptionInputContext& ic) = 0;
  // Diagnostics: never throw.
  virtual std::string safe_string() const;
  virtual std::string dump() const;

  CDHCPContext* context() const { return m_context; }
  virtual void context(CDHCPContext* ctx) { m_context = ctx; }

  // Copies the values of an option of the same value type (children deeply).
  virtual void assignStorage(const COption& other) = 0;
  virtual void clearStorage() = 0;
  // Back to the state after construction (no values, no definition, no parent).
  virtual void reset();
  // Deep copy under parent, made by ctx's factory (this option's when null).
  virtual Ptr clone(CDHCPContext* ctx, COption* parent) const;

  // One option with its header; returns the position after it.
  virtual const std::uint8_t* fullInput(const std::uint8_t* bytes, std::size_t length,
                                        COptionInputContext& ic);
  virtual std::uint8_t* fullOutput(std::uint8_t* bytes, std::size_t room,
                                   COptionOutputContext& oc) const;
  // The value only: all of length is this option's payload.
  virtual const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length,
                                         COptionInputContext& ic) = 0;
  virtual std::uint8_t* valueOutput(std::uint8_t* bytes, std::size_t room,
                                    COptionOutputContext& oc) const = 0;

  // Bytes fullOutput writes, headers of split parts included.
  virtual std::size_t area() const;
  // Bytes valueOutput writes; with an output context, children it would
  // skip are not counted. Expressions count 0 (known only when evaluated).
  virtual std::size_t valueArea(const COptionOutputContext* oc = nullptr) const = 0;
  virtual std::size_t count() const = 0;

  // Points every child's parent at this option again (after copying).
  virtual void reParent();

  virtual bool defined(const CTagPath& path, COptionType type = kAnyType,
                       std::size_t depth = 0) const;
  virtual std::size_t instanceCount(const CTagPath& path, COptionType type = kAnyType) const;
  // Removes the instance-th option at path; false when there is none.
  virtual bool erase(const CTagPath& path, std::size_t instance = 0);
  // Adds option as the last child of the container at path (empty: this).
  virtual void append(Ptr option, const CTagPath& path = {});
  // Replaces the first child with the option's code in the container at
  // path, in place, or appends when there is none.
  virtual void overwrite(Ptr option, const CTagPath& path = {});
  virtual bool findInstance(const CTagPath& path, Ptr& result, std::size_t instance,
                            COptionType type = kAnyType, std::size_t depth = 0) const;
  virtual bool find(const CTagPath& path, Ptr& result, COptionType type = kAnyType,
                    std::size_t depth = 0) const;
  // The first option at path; throws "No such option." when there is none.
  Ptr find(const CTagPath& path, COptionType type = kAnyType, std::size_t depth = 0) const;

  // JSON object with "tagpath", "name", "type", "arrayed", "vendorid" and
  // "value"; the setters read such an object (or a bare value array).
  virtual std::string json() const;
  virtual void json(std::string_view text);
  virtual void json(std::string_view text, COptionInputContext& ic);
  // The JSON object as a value, for nesting.
  nlohmann::json jsonObject() const;
  // Only the "value" part.
  virtual nlohmann::json jsonValue() const = 0;
  virtual void setJSONValue(const nlohmann::json& value, COptionInputContext& ic) = 0;

  virtual std::string instanceName() const;

  const COptionAttributes& attributes() const { return *m_attrs; }
  const COptionAttributes::Ptr& attributesPtr() const { return m_attrs; }
  void attributes(COptionAttributes::Ptr attrs) { m_attrs = std::move(attrs); }
  const COption* parent() const { return m_parent; }
  COption* parent() { return m_parent; }
  void parent(COption* parent) { m_parent = parent; }
  // The codes of this option and its ancestors below the top-level store.
  CTagPath tagPath() const;
  // The path this option's children extend (empty for a top-level store).
  CTagPath childBasePath() const;
  std::uint32_t tag() const { return m_attrs->tag(); }
  bool canParent() const {
    COptionType t = valueType();
    return t == COptionType::ot_subencoded || t == COptionType::ot_fixed_offset ||
           t == COptionType::ot_topencoded;
  }
  const Children* children() const { return const_cast<COption*>(this)->_children(); }
  Children* children() { return _children(); }
  // Text naming this option in messages: its tag path.
  std::string label() const;

  bool operator<(const COption& other) const { return tag() < other.tag(); }

 protected:
  COption();
  virtual Children* _children() { return nullptr; }
  // The child container at path, or null.
  COption* _container(const CTagPath& path);
  const Ptr* _locate(const CTagPath& path, std::size_t instance, std::size_t depth) const;
  [[noreturn]] void _notFound(const CTagPath& path, const COption* found, COptionType type) const;

 private:
  COptionAttributes::Ptr m_attrs;
  COption* m_parent = nullptr;
  CDHCPContext* m_context = nullptr;
};

using COptionPtr = COption::Ptr;
