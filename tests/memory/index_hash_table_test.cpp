#include "base/memory/index_hash_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace veltrane {
namespace {

// The table against a std::map doing the same, through growth, clearing and
// releasing, with hashes from well spread to all alike (every probe runs long).
TEST(IndexHashTable, AgreesWithAnOrderedMapWhateverTheHashes) {
  struct Case {
    const char* name;
    std::uint64_t (*hash)(int key);
  };
  const Case cases[] = {
      {"spread", [](int k) { return static_cast<std::uint64_t>(k) * 2654435761u; }},
      {"few values", [](int k) { return static_cast<std::uint64_t>(k % 7); }},
      {"all alike", [](int) { return std::uint64_t{42}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(7);
    IndexHashTable table;
    std::map<int, std::uint32_t> model;  // key -> index stored for it
    std::vector<int> keyOf;              // the user's array: index -> key
    auto same = [&](int key) { return [&, key](std::uint32_t i) { return keyOf[i] == key; }; };
    for (int round = 0; round < 3; ++round) {
      for (int step = 0; step < 1500; ++step) {
        const int key = static_cast<int>(random() % 600);
        const auto index = static_cast<std::uint32_t>(keyOf.size());
        keyOf.push_back(key);
        const auto it = model.find(key);
        const std::uint32_t before = it == model.end() ? IndexHashTable::kNone : it->second;
        const unsigned op = random() % 3;
        if (op == 0) {
          ASSERT_EQ(table.Insert(c.hash(key), index, same(key)), before) << step;
          if (before == IndexHashTable::kNone) model[key] = index;
        } else if (op == 1) {
          ASSERT_EQ(table.Replace(c.hash(key), index, same(key)), before) << step;
          model[key] = index;
        } else {
          ASSERT_EQ(table.Find(c.hash(key), same(key)), before) << step;
        }
        ASSERT_EQ(table.Size(), model.size());
      }
      for (const auto& [key, index] : model) ASSERT_EQ(table.Find(c.hash(key), same(key)), index);
      if (round == 2) break;
      if (round == 0) table.Clear();
      if (round == 1) table.Release();
      model.clear();
      EXPECT_EQ(table.Size(), 0u);
      EXPECT_EQ(table.Find(c.hash(1), same(1)), IndexHashTable::kNone);
    }
  }
}

}  // namespace
}  // namespace veltrane
