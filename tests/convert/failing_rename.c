// Loaded with LD_PRELOAD into the program under test: every rename fails as
// on a full disk, so the step that replaces the product file fails.
#include <errno.h>
#include <stdio.h>

int rename(const char* from, const char* to) {
  (void)from;
  (void)to;
  errno = ENOSPC;
  return -1;
}
