#pragma once

#include <cerrno>

namespace tavix {

// Runs a system call again while it is interrupted by a signal.
template <typename Call>
auto RetryOnInterrupt(Call call) {
  decltype(call()) result;
  do {
    result = call();
  } while (result == -1 && errno == EINTR);
  return result;
}

}  // namespace tavix
