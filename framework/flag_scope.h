// A flag set for the length of one scope and cleared when the scope is left, also by an
// exception: for "we are in the middle of X" flags that other code reads.
//
//   static bool broadcasting = false;
//   { FlagScope busy(broadcasting); SendToAll(...); }   // false again here, whatever happened
#pragma once

class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};
