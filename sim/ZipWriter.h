#pragma once

#include <string>
#include <utility>
#include <vector>

// Builds a zip archive in memory with stored (uncompressed) entries, for the update packages
// the simulator offers.
class ZipWriter
{
public:
    void add(const std::string &name, const std::string &content);
    // The archive; with an exactSize, a padding entry makes it exactly that long (a size
    // too small for any archive gives that many filler bytes instead).
    std::string finish(std::size_t exactSize = 0) const;

private:
    std::size_t sizeWithPadding() const;
    std::string build(const std::vector<std::pair<std::string, std::string>> &entries) const;

    std::vector<std::pair<std::string, std::string>> entries_;
};
