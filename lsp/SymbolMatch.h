#pragma once
// How a symbol's name matches a workspace search: without regard to case, as a subsequence, ranked.

#include <string_view>

namespace lsp {

// The rank of name for query, best first: 0 the whole name (or the part after its last '.'),
// 1 a prefix of either, 2 the start of a word (after '.' or '_', or where a small letter meets a
// capital), 3 a substring, 4 a subsequence; -1 when the query's letters are not in the name in
// order. An empty query matches every name with rank 0.
int MatchRank(std::string_view name, std::string_view query);

}  // namespace lsp
