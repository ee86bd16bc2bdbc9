#include "dhcp_base/COptionTransforms.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "standard/CException.h"

namespace {
bool multiInstance(const COption& o) {
  return o.attributes().maxInstances != 1;
}

void merge(const COptionStore& source, COptionStore& target, bool copy, bool check) {
  for (const COption::Ptr& o : source.values())
    if (multiInstance(*o))
      while (target.erase(CTagPath{o->tag()})) {
      }
  for (const COption::Ptr& o : source.values()) {
    COption::Ptr item = copy ? o->clone(target.context(), &target) : o;
    if (multiInstance(*o)) {
      target.append(item);
      const std::uint32_t max = o->attributes().maxInstances;
      if (check && max && target.instanceCount(CTagPath{o->tag()}) > max)
        NUV_THROW("COptionTransforms::nondestructive_merge",
                  nuv::CMessage("Cannot merge option stores '%1' and '%2'.")
                      .pushs(source.instanceName())
                      .pushs(target.instanceName()),
                  nuv::CMessage("Option %1 exceeds its allowed instance count of %2.")
                      .pushs(o->label())
                      .push(max));
    } else {
      target.overwrite(item);
    }
  }
}

void sameFamily(const COptionStore& a, const COptionStore& b, const char* context,
                const char* what) {
  if (a.context()->family() != b.context()->family())
    NUV_THROW(context, nuv::CMessage(what).pushs(a.instanceName()).pushs(b.instanceName()),
              nuv::CMessage("The protocol families differ."));
}

template <class Op>
void setOperation(const COptionStore& a, const COptionStore& b, COptionStore& result, Op op) {
  COptionTransforms::Multiset ma, mb;
  COptionTransforms::get_multiset(a, ma);
  COptionTransforms::get_multiset(b, mb);
  std::vector<COption::Ptr> out;
  op(ma.begin(), ma.end(), mb.begin(), mb.end(), std::back_inserter(out),
     COptionTransforms::ByCode());
  for (const COption::Ptr& o : out) result.append(o->clone(result.context(), &result));
}
}  // namespace

void COptionTransforms::destructive_merge(COptionStore& source, COptionStore& target) {
  merge(source, target, false, false);
  source.clearStorage();
}

void COptionTransforms::nondestructive_merge(const COptionStore& source, COptionStore& target) {
  merge(source, target, true, true);
}

void COptionTransforms::copying_merge(const COptionStore& source, COptionStore& target) {
  merge(source, target, true, false);
}

void COptionTransforms::get_multiset(const COptionStore& store, Multiset& multiset) {
  multiset.clear();
  for (const COption::Ptr& o : store.values()) multiset.insert(o);
}

void COptionTransforms::set_union(const COptionStore& a, const COptionStore& b,
                                  COptionStore& result) {
  sameFamily(a, b, "COptionTransforms::set_union",
             "Cannot calculate the union of option stores '%1' and '%2'.");
  // Every instance of both: the union of multisets as sums.
  setOperation(a, b, result, [](auto... args) { return std::merge(args...); });
}

void COptionTransforms::set_intersect(const COptionStore& a, const COptionStore& b,
                                      COptionStore& result) {
  sameFamily(a, b, "COptionTransforms::set_intersect",
             "Cannot calculate the intersect between option stores '%1' and '%2'.");
  setOperation(a, b, result, [](auto... args) { return std::set_intersection(args...); });
}

void COptionTransforms::set_difference(const COptionStore& a, const COptionStore& b,
                                       COptionStore& result) {
  sameFamily(a, b, "COptionTransforms::set_difference",
             "Cannot calculate the difference between option stores '%1' and '%2'.");
  setOperation(a, b, result, [](auto... args) { return std::set_difference(args...); });
}
