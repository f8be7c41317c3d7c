#include "SymbolMatch.h"

#include <algorithm>

namespace lsp {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetter(char a, char b)
{
    return Lower(a) == Lower(b);
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), SameLetter);
}

bool IsWordStart(std::string_view name, size_t at)
{
    if (at == 0)
        return true;
    char before = name[at - 1];
    char here = name[at];
    return before == '.' || before == '_' || (before >= 'a' && before <= 'z' && here >= 'A' && here <= 'Z');
}

}  // namespace

int MatchRank(std::string_view name, std::string_view query)
{
    if (query.empty())
        return 0;
    // The subsequence test first: it turns most names away at the least cost.
    size_t q = 0;
    for (size_t i = 0; i < name.size() && q < query.size(); ++i) {
        if (SameLetter(name[i], query[q]))
            ++q;
    }
    if (q < query.size())
        return -1;
    size_t dot = name.rfind('.');
    std::string_view last = dot == std::string_view::npos ? name : name.substr(dot + 1);
    if ((name.size() == query.size() && StartsWith(name, query))
        || (last.size() == query.size() && StartsWith(last, query)))
        return 0;
    if (StartsWith(name, query) || StartsWith(last, query))
        return 1;
    int rank = 4;
    for (size_t at = 0; at + query.size() <= name.size(); ++at) {
        if (!StartsWith(name.substr(at), query))
            continue;
        if (IsWordStart(name, at))
            return 2;
        rank = 3;
    }
    return rank;
}

}  // namespace lsp
