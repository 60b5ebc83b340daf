/* A C program using libtavix32.so through its header alone: it opens COM3 on a
 * pseudo-terminal, sets the line, writes and reads, and closes. Exit status 0 when every
 * check holds; each failed check is printed. */
#define _DEFAULT_SOURCE
#define _XOPEN_SOURCE 600
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include "tavix32.h"

static int failures = 0;

#define CHECK(condition)                                          \
  do {                                                            \
    if (!(condition)) {                                           \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                 \
    }                                                             \
  } while (0)

int main(void) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  struct termios raw;
  char received[64] = {0};
  uint8_t line[32];
  int32_t params[5];
  size_t got = 0;
  int round;

  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    perror("pseudo-terminal");
    return 2;
  }
  tcgetattr(master, &raw);
  cfmakeraw(&raw);
  tcsetattr(master, TCSANOW, &raw);
  setenv("TAVIX_COM3", ptsname(master), 1);

  CHECK(SetPort(TAVIX_PORT_COUNT, 1) == TAVIX_PORT_INVALID);
  CHECK(SetPort(2, 1) == TAVIX_PORT_OPENED);
  CHECK(SetPort(2, 1) == TAVIX_PORT_IN_USE);
  CHECK(InitPort(2, 57600, 0, 8, 1) == 0);
  CHECK(GetCommParams(2, params) == 0 && params[0] == 56000 && params[1] == 7);

  ComPuts(2, "ATZ\r");
  for (round = 0; round < 1000 && got < 4; ++round) {
    ssize_t n = read(master, received + got, sizeof received - 1 - got);
    if (n > 0) got += (size_t)n;
    else usleep(1000);
  }
  CHECK(got == 4 && memcmp(received, "ATZ\r", 4) == 0);

  CHECK(write(master, "OK\r\n", 4) == 4);
  for (round = 0; round < 1000 && RecvCount(2) < 4; ++round) usleep(1000);
  CHECK(ComGets(2, line, '\r') == 2 && strcmp((const char*)line, "OK") == 0);
  CHECK(ComGetc(2) == '\n');
  CHECK(ComGetc(2) == -1);

  CHECK(GetCRC32((const uint8_t*)"123456789", 9) == 0xCBF43926u);
  CHECK(StrWord("Hello World", "WORLD") == 7);
  CHECK(StrHex("1aF") == 0x1AF);

  ResetPort(2, 1);
  CHECK(GetWindowsPort(2) == -1);
  close(master);
  return failures == 0 ? 0 : 1;
}
