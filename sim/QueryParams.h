#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The parameters of a raw request target ("path?name=value&..."): pairs split at "&" and at
// the first "=", each name and value percent-decoded exactly once. "+" stays "+": the client
// encodes a blank as %20, so a "+" it sends is a plus sign. The first of repeated names wins.
class QueryParams
{
public:
    static QueryParams fromTarget(std::string_view target);

    const std::string *find(std::string_view name) const; // nullptr when absent
    std::string value(std::string_view name) const;      // empty when absent

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

// %XX escapes become their byte; a "%" without two hex digits stays as it is.
std::string percentDecode(std::string_view text);
