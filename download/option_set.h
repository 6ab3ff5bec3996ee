// A set of members of one option enumeration, and the platform flag value it stands for.
// Each option enumeration comes with a table of its members' values in enumeration order.
//
//   TOptionSet<TBindF> flags{TBindF::Asynchronous, TBindF::PullData};
//   flags.Include(TBindF::NoWriteCache);
//   DWORD value = flags.Value(kBindFValues);   // the sum of the members' values
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

template <class E>
class TOptionSet {
 public:
  TOptionSet() = default;
  TOptionSet(std::initializer_list<E> members) {
    for (E member : members) Include(member);
  }

  void Include(E member) { bits_ |= bit(member); }
  void Exclude(E member) { bits_ &= ~bit(member); }
  bool Contains(E member) const { return (bits_ & bit(member)) != 0; }
  bool operator==(const TOptionSet&) const = default;

  // The sum of the values of the members in the set (0 for an empty set).
  uint32_t Value(std::span<const uint32_t> values) const {
    uint32_t sum = 0;
    for (size_t i = 0; i < values.size(); ++i)
      if (bits_ & (uint64_t{1} << i)) sum += values[i];
    return sum;
  }

 private:
  static uint64_t bit(E member) { return uint64_t{1} << static_cast<unsigned>(member); }
  uint64_t bits_ = 0;
};
