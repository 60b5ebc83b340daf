#include "memory_line.h"

#include <cstdint>

namespace tavix::testing {

struct MemoryLinePair::Queue {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<std::uint8_t> bytes;
  std::vector<std::uint8_t> written;
  LineFaults faults;
  std::mt19937 random{1};
  int damaged = 0;
  std::size_t passed = 0;
  std::size_t capacity = SIZE_MAX;
  std::condition_variable drained;
};

class MemoryLinePair::End : public Line {
 public:
  End(std::shared_ptr<Queue> in, std::shared_ptr<Queue> out)
      : in_(std::move(in)), out_(std::move(out)) {}

  int ReadByte(std::chrono::milliseconds timeout) override {
    std::unique_lock lock(in_->mutex);
    if (!in_->arrived.wait_for(lock, timeout, [&] { return !in_->bytes.empty(); })) {
      return kLineTimeout;
    }
    const int byte = in_->bytes.front();
    in_->bytes.pop_front();
    if (in_->bytes.size() <= in_->capacity) in_->drained.notify_all();
    return byte;
  }

  bool Write(std::span<const std::uint8_t> bytes) override {
    {
      std::lock_guard lock(out_->mutex);
      out_->written.insert(out_->written.end(), bytes.begin(), bytes.end());
      std::uniform_real_distribution<double> chance(0, 1);
      const bool faulty = out_->faults.corruptRate > 0 || out_->faults.dropRate > 0;
      for (std::uint8_t byte : bytes) {
        if (faulty && ++out_->passed > out_->faults.sparedBytes) {
          const double roll = chance(out_->random);
          if (roll < out_->faults.dropRate) {
            ++out_->damaged;
            continue;
          }
          if (roll < out_->faults.dropRate + out_->faults.corruptRate) {
            ++out_->damaged;
            byte ^= static_cast<std::uint8_t>(1u << (out_->random() % 8));
          }
        }
        out_->bytes.push_back(byte);
      }
    }
    out_->arrived.notify_all();
    std::unique_lock lock(out_->mutex);
    out_->drained.wait_for(lock, std::chrono::seconds(30),
                           [&] { return out_->bytes.size() <= out_->capacity; });
    return true;
  }

  bool HasInput() override {
    std::lock_guard lock(in_->mutex);
    return !in_->bytes.empty();
  }

  void PurgeInput() override {
    std::lock_guard lock(in_->mutex);
    in_->bytes.clear();
    in_->drained.notify_all();
  }

  bool Carrier() override { return true; }

  bool PutBack(std::uint8_t byte) override {
    std::lock_guard lock(in_->mutex);
    in_->bytes.push_front(byte);
    return true;
  }

 private:
  std::shared_ptr<Queue> in_, out_;
};

MemoryLinePair::MemoryLinePair()
    : toA_(std::make_shared<Queue>()),
      toB_(std::make_shared<Queue>()),
      a_(std::make_unique<End>(toA_, toB_)),
      b_(std::make_unique<End>(toB_, toA_)) {}

MemoryLinePair::~MemoryLinePair() = default;
Line& MemoryLinePair::A() {
  return *a_;
}
Line& MemoryLinePair::B() {
  return *b_;
}

void MemoryLinePair::SetFaults(bool fromA, LineFaults faults) {
  Queue& queue = fromA ? *toB_ : *toA_;
  std::lock_guard lock(queue.mutex);
  queue.faults = faults;
  queue.random.seed(faults.seed);
}

std::vector<std::uint8_t> MemoryLinePair::Written(bool fromA) {
  Queue& queue = fromA ? *toB_ : *toA_;
  std::lock_guard lock(queue.mutex);
  return queue.written;
}

void MemoryLinePair::SetCapacity(std::size_t bytes) {
  for (const auto& queue : {toA_, toB_}) {
    std::lock_guard lock(queue->mutex);
    queue->capacity = bytes;
  }
}

void MemoryLinePair::PurgeWritten() {
  for (const auto& queue : {toA_, toB_}) {
    std::lock_guard lock(queue->mutex);
    queue->written.clear();
  }
}

int MemoryLinePair::Damaged() const {
  int total = 0;
  for (const auto& queue : {toA_, toB_}) {
    std::lock_guard lock(queue->mutex);
    total += queue->damaged;
  }
  return total;
}

}  // namespace tavix::testing
