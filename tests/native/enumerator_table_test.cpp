// The walk rule and the enumerator table, with fake enumerators that count
// how often each was obtained and released: walks under way stay apart, and
// every enumerator is released exactly once whichever way its walk ended.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "disk/automation/enumerator_table.h"

namespace {

using disk::automation::BasicEnumeratorTable;
using disk::automation::kMaxWalkMembers;
using disk::automation::NextMemberRule;

// What the fake enumerators of one test did, by collection key.
struct Journal {
  std::map<std::uintptr_t, int> obtained;
  std::map<std::uintptr_t, int> released;
};

struct FakeCollection {
  std::uintptr_t key = 0;  // 0: an empty holder
  std::vector<int> members;
  bool obtainFails = false;
  bool endless = false;
};

// One enumerator, owned the way the COM holder owns a reference: released
// once, when its owner goes, moved rather than shared.
struct Cursor {
  Journal* journal;
  const FakeCollection* collection;
  std::size_t next = 0;
};
struct ReleaseCursor {
  void operator()(Cursor* c) const {
    ++c->journal->released[c->collection->key];
    delete c;
  }
};
using FakeEnumerator = std::unique_ptr<Cursor, ReleaseCursor>;

struct FakeOps {
  using Collection = FakeCollection;
  using Enumerator = FakeEnumerator;
  using Item = int;
  Journal* journal;

  std::uintptr_t Key(const FakeCollection& c) { return c.key; }
  bool Obtain(const FakeCollection& c, FakeEnumerator& out) {
    if (c.obtainFails) return false;
    ++journal->obtained[c.key];
    out.reset(new Cursor{journal, &c});
    return true;
  }
  bool Step(FakeEnumerator& e, int& item) {
    const FakeCollection& c = *e->collection;
    if (!c.endless && e->next >= c.members.size()) return false;
    item = c.endless ? static_cast<int>(e->next) : c.members[e->next];
    ++e->next;
    return true;
  }
};

class Walk : public ::testing::Test {
 protected:
  bool Next(const FakeCollection& c, int& item) { return NextMemberRule(table, c, item, ops); }
  std::vector<int> WalkAll(const FakeCollection& c) {
    std::vector<int> seen;
    int item = 0;
    while (Next(c, item)) seen.push_back(item);
    return seen;
  }

  Journal journal;
  FakeOps ops{&journal};
  BasicEnumeratorTable<FakeEnumerator> table;
};

TEST_F(Walk, EmptyCollectionLeavesTheTableAsItWas) {
  const FakeCollection other{0x1000, {1, 2}};
  int item = 0;
  ASSERT_TRUE(Next(other, item));  // a walk under way elsewhere
  const FakeCollection empty{0x2000, {}};
  EXPECT_FALSE(Next(empty, item));
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.KeyAt(0), 0x1000u);
  EXPECT_EQ(journal.released[0x2000], 1);  // its enumerator was not kept
}

TEST_F(Walk, EmptyHolderAndFailingObtainAddNoEntry) {
  int item = 0;
  EXPECT_FALSE(Next(FakeCollection{0, {1}}, item));
  EXPECT_EQ(journal.obtained.count(0), 0u);  // key 0 never reaches the collection
  EXPECT_FALSE(Next(FakeCollection{0x3000, {1}, /*obtainFails=*/true}, item));
  EXPECT_EQ(table.Size(), 0u);
}

TEST_F(Walk, SecondWalkStartsAgainFromTheFirstMember) {
  const FakeCollection c{0x1000, {7, 8, 9}};
  EXPECT_EQ(WalkAll(c), (std::vector{7, 8, 9}));
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(WalkAll(c), (std::vector{7, 8, 9}));
  EXPECT_EQ(journal.obtained[0x1000], 2);
  EXPECT_EQ(journal.released[0x1000], 2);
}

TEST_F(Walk, WalksUnderWayAtOnceKeepTheirOwnEntries) {
  // The first walk to end moves the others down; each still steps its own.
  const FakeCollection a{0x1000, {1}}, b{0x2000, {10, 20, 30}}, c{0x3000, {100, 200}};
  int item = 0;
  std::vector<int> seen;
  bool ended[3] = {};
  for (int round = 0; round < 4; ++round) {
    int k = 0;
    for (const FakeCollection* col : {&a, &b, &c}) {
      if (!ended[k]) {
        // Not stepped again after it ended: that would start a new walk.
        if (Next(*col, item)) seen.push_back(item);
        else ended[k] = true;
      }
      ++k;
    }
  }
  EXPECT_EQ(seen, (std::vector{1, 10, 100, 20, 200, 30}));
  EXPECT_EQ(table.Size(), 0u);
  const std::map<std::uintptr_t, int> once{{0x1000, 1}, {0x2000, 1}, {0x3000, 1}};
  EXPECT_EQ(journal.obtained, once);
  EXPECT_EQ(journal.released, once);
}

TEST_F(Walk, TwoHoldersOfOnePointerShareOneEntry) {
  const FakeCollection first{0x1000, {1, 2, 3}};
  const FakeCollection second = first;  // another holder of the same pointer
  int item = 0;
  ASSERT_TRUE(Next(first, item));
  EXPECT_EQ(item, 1);
  ASSERT_TRUE(Next(second, item));
  EXPECT_EQ(item, 2);
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(journal.obtained[0x1000], 1);
}

TEST_F(Walk, AbandonedWalksKeepTheirEntryUntilReleasedOnceEach) {
  const FakeCollection a{0x1000, {1, 2}}, b{0x2000, {3, 4}}, done{0x3000, {5}};
  int item = 0;
  ASSERT_TRUE(Next(a, item));
  ASSERT_TRUE(Next(b, item));
  EXPECT_EQ(WalkAll(done), (std::vector{5}));
  EXPECT_EQ(table.Size(), 2u);
  EXPECT_EQ(journal.released[0x1000] + journal.released[0x2000], 0);
  table.ReleaseAll();
  EXPECT_EQ(table.Size(), 0u);
  const std::map<std::uintptr_t, int> once{{0x1000, 1}, {0x2000, 1}, {0x3000, 1}};
  EXPECT_EQ(journal.released, once);  // 0x3000 not again
  table.ReleaseAll();
  EXPECT_EQ(journal.released, once);
}

TEST_F(Walk, EndlessEnumeratorStopsAtTheBound) {
  // An enumerator that never reports its end must not hang the walk.
  const FakeCollection endless{0x1000, {}, false, /*endless=*/true};
  EXPECT_EQ(WalkAll(endless).size(), kMaxWalkMembers);
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(journal.released[0x1000], 1);
  // A collection of exactly the bound is walked whole.
  const FakeCollection full{0x2000, std::vector<int>(kMaxWalkMembers, 1)};
  EXPECT_EQ(WalkAll(full).size(), kMaxWalkMembers);
}

TEST(EnumeratorTable, LookupTakesTheFirstMatchingKey) {
  BasicEnumeratorTable<int> table;
  table.Add(1, 0x10);
  table.Add(2, 0x20);
  table.Add(3, 0x20);
  EXPECT_EQ(table.Find(0x20), 1u);
  EXPECT_EQ(table.Find(0x30), table.kNotFound);
  table.Remove(1);
  EXPECT_EQ(table.Find(0x20), 1u);
  EXPECT_EQ(table.EnumeratorAt(1), 3);
}

}  // namespace
