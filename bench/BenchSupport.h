#pragma once
// Inputs shared by the benchmarks: real Chinese text gathered from the documentation packages
// installed on the machine (never committed), cut and repeated to the sizes measured.

#include <cstddef>
#include <string>

namespace brisna::bench {

// GBK text of real Chinese prose, at least minBytes long, paragraphs ending in CR LF. Built from
// the Chinese manual pages and FAQ that scripts/install-deps.sh installs; repeats them as needed.
std::string RealChineseText(size_t minBytes);

}  // namespace brisna::bench
