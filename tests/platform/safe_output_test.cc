// The one file writer: whole files or nothing, never over the input, never
// through a planted link, devices and pipes written in place.
#include "platform/posix/safe_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <string>

#include "core/error.h"
#include "platform/temp_folder.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;

void write_whole(const fs::path& target, const std::string& text, std::span<const fs::path> inputs = {}) {
  SafeFileOutput output(target, inputs);
  output.write(text);
  output.commit();
}

std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

std::string refusal(const fs::path& target, std::span<const fs::path> inputs = {}) {
  try {
    SafeFileOutput output(target, inputs);
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), core::kPathFileAccess);
    return e.description();
  }
  return "accepted";
}

TEST(SafeFileOutput, ReplacesKeepingModeAndLinksAndLeavesNoTemporary) {
  TempFolder folder;
  const fs::path file = folder.path() / "plano.dxf";
  write_bytes(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const fs::path link = folder.path() / "enlace.dxf";
  fs::create_symlink("plano.dxf", link);

  write_whole(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read_bytes(file), "new");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(entries(folder.path()), 2u);
}

TEST(SafeFileOutput, AnUnfinishedOutputLeavesTheOldFileAndNothingElse) {
  TempFolder folder;
  const fs::path file = folder.path() / "plano.dxf";
  write_bytes(file, "old");
  {
    SafeFileOutput output(file);
    output.write("half a drawing");
    EXPECT_TRUE(fs::exists(output.temporary()));
  }
  EXPECT_EQ(read_bytes(file), "old");
  EXPECT_EQ(entries(folder.path()), 1u);
}

TEST(SafeFileOutput, APlantedLinkIsNeverFollowedNorAnInputReplaced) {
  TempFolder folder;
  const fs::path victim = folder.path() / "victim";
  write_bytes(victim, "precious");
  fs::create_symlink(victim, folder.path() / "out.json.tmp");
  write_whole(folder.path() / "out.json", "{}");
  EXPECT_EQ(read_bytes(victim), "precious");
  EXPECT_TRUE(fs::is_symlink(folder.path() / "out.json.tmp"));
  // Nor does it replace its input (by any name), a folder or a file without a folder or name.
  const fs::path input = folder.path() / "survey.json";
  write_bytes(input, "{}");
  fs::create_symlink(input, folder.path() / "alias.json");
  fs::create_hard_link(input, folder.path() / "hard.json");
  const fs::path inputs[] = {input};
  struct Case {
    fs::path target;
    const char* says;
  };
  const Case cases[] = {
      {input, "es el archivo de entrada"},
      {folder.path() / "alias.json", "es el archivo de entrada"},
      {folder.path() / "hard.json", "es el archivo de entrada"},
      {folder.path(), "es una carpeta"},
      {folder.path() / "no" / "x.dxf", "la carpeta no existe"},
      {"", "no tiene nombre"},
  };
  for (const Case& c : cases) {
    const std::string said = refusal(c.target, inputs);
    EXPECT_NE(said.find(c.says), std::string::npos) << c.target << ": " << said;
  }
  EXPECT_EQ(read_bytes(input), "{}");
}

TEST(SafeFileOutput, DevicesAndPipesAreWrittenInPlace) {
  write_whole("/dev/null", "nothing");
  struct stat null_info {};
  ASSERT_EQ(::stat("/dev/null", &null_info), 0);
  EXPECT_TRUE(S_ISCHR(null_info.st_mode));

  TempFolder folder;
  const fs::path fifo = folder.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto reader = std::async(std::launch::async, [&] { return read_bytes(fifo); });
  write_whole(fifo, "through the pipe");
  EXPECT_EQ(reader.get(), "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(SafeFileOutput, TwoWritersLeaveOneWholeFileAndDeadWritersNoTemporary) {
  TempFolder folder;
  const fs::path file = folder.path() / "out.json";
  const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
  auto first = std::async(std::launch::async, [&] { write_whole(file, a); });
  auto second = std::async(std::launch::async, [&] { write_whole(file, b); });
  first.get();
  second.get();
  const std::string result = read_bytes(file);
  EXPECT_TRUE(result == a || result == b);
  EXPECT_EQ(entries(folder.path()), 1u);
  // A dead writer's temporaries are removed, a live one's kept.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  const fs::path left = folder.path() / (".plano.dxf.kestrel-" + std::to_string(dead) + "-1f.tmp");
  const fs::path live = folder.path() / (".plano.dxf.kestrel-" + std::to_string(::getpid()) + "-2e.tmp");
  const fs::path other = folder.path() / (".otro.dxf.kestrel-" + std::to_string(dead) + "-3d.tmp");
  for (const auto& f : {left, live, other}) write_bytes(f, "x");
  write_whole(folder.path() / "plano.dxf", "drawing");
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(other));
}

// Past 64 MB the output is flushed on another thread as it is written.
TEST(SafeFileOutput, ALargeOutputFlushedAsItIsWrittenArrivesWhole) {
  TempFolder folder;
  const fs::path file = folder.path() / "grande.json";
  std::string piece(std::size_t{1} << 20, 'a');
  SafeFileOutput output(file);
  for (int k = 0; k < 80; ++k) {
    piece.front() = static_cast<char>('a' + k);
    output.write(piece);
  }
  output.commit();
  const std::string back = read_bytes(file);
  ASSERT_EQ(back.size(), 80 * piece.size());
  EXPECT_EQ(back[0], 'a');
  EXPECT_EQ(back[79 * piece.size()], static_cast<char>('a' + 79));
  EXPECT_EQ(entries(folder.path()), 1u);
}

// The flusher takes the kernel's error for the file: it must keep it.
TEST(BackgroundFlush, KeepsTheErrorOfAFailedFlush) {
  BackgroundFlush flush(-1, 1);
  flush.written(1);
  flush.finish();
  flush.finish();
  EXPECT_EQ(flush.error(), EBADF);
}

}  // namespace
}  // namespace kestrel::platform
