#include "movegen/move_stack.h"

thread_local MoveEntry MoveStack[MOVE_STACK_SIZE];
