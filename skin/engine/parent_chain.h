// Values a skin section takes from its PARENTCLASS chain when it lacks them itself, worked out
// for every section at once. Each chain is walked only as far as the first section whose
// answer is already known, so a whole skin costs time in proportion to its number of
// sections, however long or shared its chains are.
//
//   std::vector<int> parents = ...;      // each section's parent index, -1 for none
//   auto colours = ResolveAlongParents<int>(parents, [&](int s) { return OwnColour(s); });
//   if (colours[i]) ...                  // section i's own colour, else its nearest ancestor's
//
// A chain that comes back to a section already on it stops there without a value, so
// sections naming each other in a ring end with none unless one of them has its own.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace efir::skin {

// own(s) gives section s's own value or nullopt; it is asked at most once per section.
template <class T, class Own>
std::vector<std::optional<T>> ResolveAlongParents(const std::vector<int>& parents, Own own) {
  enum : uint8_t { kOpen, kOnPath, kDone };
  const int count = static_cast<int>(parents.size());
  std::vector<std::optional<T>> values(parents.size());
  std::vector<uint8_t> state(parents.size(), kOpen);
  std::vector<int> path;
  for (int start = 0; start < count; ++start) {
    path.clear();
    std::optional<T> found;
    for (int s = start; s >= 0 && s < count;) {
      if (state[s] == kDone) {
        found = values[s];
        break;
      }
      if (state[s] == kOnPath) break;  // a ring: nothing on it has a value of its own
      found = own(s);
      if (found) {
        values[s] = found;
        state[s] = kDone;
        break;
      }
      state[s] = kOnPath;
      path.push_back(s);
      s = parents[s];
    }
    for (int s : path) {
      values[s] = found;
      state[s] = kDone;
    }
  }
  return values;
}

}  // namespace efir::skin
