#include "replay_line.h"
