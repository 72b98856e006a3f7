#include "QueryParams.h"

#include "common/TextUtil.h"

std::string percentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexDigitValue(text[i + 1]);
            const int low = HexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

QueryParams QueryParams::fromTarget(std::string_view target)
{
    QueryParams params;
    const auto question = target.find('?');
    if (question == std::string_view::npos)
        return params;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto eq = pair.find('=');
        std::string name = percentDecode(pair.substr(0, eq));
        if (params.find(name))
            continue;
        std::string value = eq == std::string_view::npos ? std::string() : percentDecode(pair.substr(eq + 1));
        params.items_.emplace_back(std::move(name), std::move(value));
    }
    return params;
}

const std::string *QueryParams::find(std::string_view name) const
{
    for (const auto &item : items_) {
        if (item.first == name)
            return &item.second;
    }
    return nullptr;
}

std::string QueryParams::value(std::string_view name) const
{
    const std::string *found = find(name);
    return found ? *found : std::string();
}
