#include "movegen/move_stack.h"

thread_local constinit MoveEntry MoveStack[MOVE_STACK_SIZE] = {};
