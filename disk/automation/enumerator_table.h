// The program-wide table of collection walks under way, and the rule of one
// walk step. A walk of an automation collection needs the collection's
// enumerator to survive between calls, so the live enumerators are kept here,
// keyed by the collection's interface pointer value: an entry is added by the
// first step of a walk, removed by the step that finds no further member, and
// whatever is left (walks abandoned before their end) is released once the
// disk report is read, or at the end of the program. The rule is written once
// over a small operations policy so that the Win32 walk and the tests run the
// same code; this header knows nothing of COM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace disk::automation {

// A walk ends after this many members even when the enumerator would go on.
// Start-up walks a collection on the user-interface thread; an enumerator that
// never reports its end would otherwise hang the program before its first
// window appears. Real result and property sets hold a few dozen members.
inline constexpr std::uint32_t kMaxWalkMembers = 4096;

// Three lists kept in step: the live enumerators, the collection keys they
// belong to, and how many members each walk has delivered (for the bound
// above). Position k of each list belongs to position k of the others.
// Enumerator is a movable owning holder whose destruction releases it.
template <class Enumerator>
class BasicEnumeratorTable {
 public:
  static constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

  BasicEnumeratorTable() = default;
  BasicEnumeratorTable(const BasicEnumeratorTable&) = delete;
  BasicEnumeratorTable& operator=(const BasicEnumeratorTable&) = delete;

  std::size_t Size() const { return keys_.size(); }

  // The first position whose key matches, or kNotFound.
  std::size_t Find(std::uintptr_t key) const {
    for (std::size_t p = 0; p < keys_.size(); ++p) {
      if (keys_[p] == key) return p;
    }
    return kNotFound;
  }

  // Appends an entry and returns its position.
  std::size_t Add(Enumerator enumerator, std::uintptr_t key) {
    enumerators_.push_back(std::move(enumerator));
    keys_.push_back(key);
    delivered_.push_back(0);
    return keys_.size() - 1;
  }

  Enumerator& EnumeratorAt(std::size_t position) { return enumerators_[position]; }
  std::uintptr_t KeyAt(std::size_t position) const { return keys_[position]; }
  std::uint32_t& DeliveredAt(std::size_t position) { return delivered_[position]; }

  // Releases the enumerator at `position` and removes the entry; later
  // entries move down by one.
  void Remove(std::size_t position) {
    const auto at = static_cast<std::ptrdiff_t>(position);
    enumerators_.erase(enumerators_.begin() + at);
    keys_.erase(keys_.begin() + at);
    delivered_.erase(delivered_.begin() + at);
  }

  // At the end of the program: every enumerator still listed, once each.
  void ReleaseAll() {
    enumerators_.clear();
    keys_.clear();
    delivered_.clear();
  }

 private:
  std::vector<Enumerator> enumerators_;
  std::vector<std::uintptr_t> keys_;
  std::vector<std::uint32_t> delivered_;
};

// One step of a walk: delivers the next member of `collection` into `item`
// and returns true, or returns false when there is none. Callers walk a
// collection by calling this until it returns false, with the same collection
// throughout. Ops supplies:
//   using Collection, Enumerator, Item;
//   std::uintptr_t Key(const Collection&)       the interface pointer value, 0 if empty
//   bool Obtain(const Collection&, Enumerator&) its enumerator, reset to the start
//   bool Step(Enumerator&, Item&)               one member; true only when one was fetched
template <class Ops>
bool NextMemberRule(BasicEnumeratorTable<typename Ops::Enumerator>& table,
                    const typename Ops::Collection& collection, typename Ops::Item& item,
                    Ops& ops) {
  const std::uintptr_t key = ops.Key(collection);
  // An empty holder has no enumerator; this also keeps key 0 out of the table.
  if (key == 0) return false;
  std::size_t p = table.Find(key);
  if (p == table.kNotFound) {
    typename Ops::Enumerator local{};
    // A failed start leaves the table as it was; `local` releases whatever
    // the attempt obtained.
    if (!ops.Obtain(collection, local)) return false;
    p = table.Add(std::move(local), key);
  }
  const bool delivered =
      table.DeliveredAt(p) < kMaxWalkMembers && ops.Step(table.EnumeratorAt(p), item);
  if (!delivered) {
    // The walk is over, found in the table or just started: a later walk of
    // the same collection starts again from its first member.
    table.Remove(p);
    return false;
  }
  ++table.DeliveredAt(p);
  return true;
}

}  // namespace disk::automation
