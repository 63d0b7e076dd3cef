#include "search/search_stack.h"

thread_local constinit PlyRecord SearchStack[PLY_RECORDS] = {};
