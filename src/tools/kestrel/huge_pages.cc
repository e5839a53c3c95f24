#include "tools/kestrel/huge_pages.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace kestrel::cli {

void restart_with_huge_pages(char** argv) {
  constexpr const char* kTunable = "glibc.malloc.hugetlb";
  const char* current = std::getenv("GLIBC_TUNABLES");
  std::string tunables = current ? current : "";
  if (tunables.find(kTunable) != std::string::npos) return;
  tunables += (tunables.empty() ? "" : ":") + std::string(kTunable) + "=1";
  if (::setenv("GLIBC_TUNABLES", tunables.c_str(), 1) != 0) return;
  ::execv("/proc/self/exe", argv);
  // Still here: the restart failed; go on as we are.
}

}  // namespace kestrel::cli
