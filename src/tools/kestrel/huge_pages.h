// Big drawings make the program touch gigabytes of fresh memory. Mapped 4 KB
// at a time, page faults alone take most of an import's time (3.1 million
// entities: 19 s of which 14 s in faults); with transparent huge pages the
// kernel maps it 2 MB at a time. glibc madvises its big blocks for huge pages
// only when told so before the process starts (GLIBC_TUNABLES).
#pragma once

namespace kestrel::cli {

// Restarts the program with glibc's huge-page tunable set, unless it is set
// already (then it returns at once). Returns when the restart cannot be made:
// the program then runs as it is, only slower on big drawings.
void restart_with_huge_pages(char** argv);

}  // namespace kestrel::cli
