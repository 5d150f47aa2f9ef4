#pragma once
// Catalogue title pages as the operator's site writes them, of any size, for the
// benchmarks that scrape them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::bench {

// A GBK page of about `bytes` bytes: navigation and description blocks (with GBK trail
// bytes "\" and "|" in them, and links that are no link items in any letter case)
// around the title item, the status item and one link item per address, episode k
// named "第k集", all in the page's middle.
std::string CataloguePage(std::size_t bytes, std::string_view title, const std::vector<std::string>& addresses);

}  // namespace korvane::bench
