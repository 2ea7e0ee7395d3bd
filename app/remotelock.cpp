#include "remotelock.h"

bool pc_lock = false;
