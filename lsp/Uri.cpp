#include "Uri.h"

#include "refhost/RefHost.h"

namespace lsp {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool KeptInUri(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PathOfUri(std::string_view uri)
{
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size() || uri.substr(0, scheme.size()) != scheme)
        return {};
    uri.remove_prefix(scheme.size());
    // An authority other than an empty one or localhost is another machine.
    size_t slash = uri.find('/');
    if (slash == std::string_view::npos || (slash != 0 && uri.substr(0, slash) != "localhost"))
        return {};
    uri.remove_prefix(slash);
    std::string path;
    for (size_t i = 0; i < uri.size(); ++i) {
        char c = uri[i];
        if (c == '?' || c == '#')
            break;
        if (c == '%') {
            int high = i + 2 < uri.size() ? HexValue(uri[i + 1]) : -1;
            int low = high >= 0 ? HexValue(uri[i + 2]) : -1;
            if (low < 0)
                return {};
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (c == '\0')
            return {};
        path += c;
    }
    return refhost::Host::NormalizeFileName(path);
}

std::string UriOfPath(std::string_view path)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char c : path) {
        if (KeptInUri(c)) {
            uri += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += digits[byte >> 4];
            uri += digits[byte & 15];
        }
    }
    return uri;
}

}  // namespace lsp
