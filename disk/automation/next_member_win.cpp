// The COM operations of the walk rule: how an enumerator is obtained and how
// it is stepped.
#include "disk/automation/next_member_win.h"

namespace disk::automation {
namespace {

struct ComWalkOps {
  using Collection = AutomationObject;
  using Enumerator = AutomationObject;
  using Item = AutomationValue;

  std::uintptr_t Key(const AutomationObject& collection) { return collection.Key(); }

  bool Obtain(const AutomationObject& collection, AutomationObject& enumerator) {
    enumerator = GetObjectProperty(collection, "_NewEnum");
    if (QueryAutomationInterface(enumerator, kEnumVariantIid, enumerator)) {
      // A fresh enumerator already stands at the start; a collection that
      // hands out a shared one may not.
      enumerator.As<IEnumVARIANT>()->Reset();
    }
    return !enumerator.IsEmpty();
  }

  bool Step(AutomationObject& enumerator, AutomationValue& item) {
    if (!QueryAutomationInterface(enumerator, kEnumVariantIid, enumerator)) return false;
    ULONG fetched = 0;
    const HRESULT hr = enumerator.As<IEnumVARIANT>()->Next(1, item.OutParam(), &fetched);
    // S_FALSE with nothing is the normal end; S_OK with nothing fetched, an
    // error, or a count that is not 1 ends the walk as well.
    if (hr == S_OK && fetched == 1) return true;
    item.Clear();
    return false;
  }
};

}  // namespace

bool NextMember(EnumeratorTable& table, const AutomationObject& collection,
                AutomationValue& item) {
  ComWalkOps ops;
  const bool delivered = NextMemberRule(table, collection, item, ops);
  // Also when the walk bound ended it: the item keeps no stale member.
  if (!delivered) item.Clear();
  return delivered;
}

}  // namespace disk::automation
