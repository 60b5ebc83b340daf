#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

#include "line.h"

namespace tavix::testing {

// Damage a direction of the in-memory line does to the bytes passing through it, from a seed.
struct LineFaults {
  double corruptRate = 0;  // share of bytes with bits flipped
  double dropRate = 0;     // share of bytes lost
  unsigned seed = 1;
};

// Two connected Line ends in memory, for running a sender and a receiver on two threads.
class MemoryLinePair {
 public:
  MemoryLinePair();
  ~MemoryLinePair();
  Line& A();
  Line& B();
  // Damage to what the A end (or B end) writes.
  void SetFaults(bool fromA, LineFaults faults);
  // Everything the A end (or B end) wrote, before any damage.
  std::vector<std::uint8_t> Written(bool fromA);
  // Counts of bytes damaged so far.
  int Damaged() const;

 private:
  struct Queue;
  class End;
  std::shared_ptr<Queue> toA_, toB_;
  std::unique_ptr<End> a_, b_;
};

}  // namespace tavix::testing
