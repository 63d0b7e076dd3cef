#include "search/search_kind.h"

SearchKind CurrentSearchKind = SearchKind::Classic;
