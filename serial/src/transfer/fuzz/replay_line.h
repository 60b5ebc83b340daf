#pragma once

#include <cstddef>
#include <cstdint>

#include "line.h"

namespace tavix {

// A Line that plays back a fuzzer's input and times out at its end; writes are dropped.
class ReplayLine : public Line {
 public:
  ReplayLine(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int ReadByte(std::chrono::milliseconds) override {
    return next_ < size_ ? data_[next_++] : kLineTimeout;
  }
  bool Write(std::span<const std::uint8_t>) override { return true; }
  bool HasInput() override { return next_ < size_; }
  void PurgeInput() override { next_ = size_; }
  bool Carrier() override { return true; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace tavix
