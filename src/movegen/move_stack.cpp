#include "movegen/move_stack.h"

MoveEntry MoveStack[MOVE_STACK_SIZE];
