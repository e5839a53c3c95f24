#include "tools/kestrel/profile_csv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace kestrel::cli {
namespace {

std::vector<double> items(const core::VbArray<double>& a) { return {a.items().begin(), a.items().end()}; }

// The message parse_profile_csv gives for `text`, or "" when it reads it.
std::string error_of(const char* text) {
  try {
    (void)parse_profile_csv(text, "f.csv");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(ProfileCsv, ReadsCommaAndSemicolonFilesWithOrWithoutHeaderAndNamesAMissingOne) {
  const std::vector<double> pk{0, 20, 40}, ct{100, 101.5, 99};
  // Quotes, blanks, numbers and byte-order marks are the points file's rules (points_csv_test.cc).
  const char* texts[] = {
      "0,100\n20,101.5\n40,99\n",
      "PK;Cota\r\n0;100\r\n20;101.5\r\n\r\n40;99\r\n",
      "0;100;\n20;101.5;;\n40;99\n",  // trailing separators of a spreadsheet
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const Profile p = parse_profile_csv(text, "eje.csv");
    EXPECT_EQ(std::tuple(p.Ptos, p.Pk.lbound(), p.Ct.lbound(), items(p.Pk), items(p.Ct)), std::tuple(3, 1, 1, pk, ct));
  }
  const Profile signs = parse_profile_csv("-10,-2.5\n-20,3\n", "f.csv");  // the file's order and signs kept
  EXPECT_EQ(items(signs.Pk), (std::vector<double>{-10, -20}));
  EXPECT_EQ(items(signs.Ct), (std::vector<double>{-2.5, 3}));
  // From a file; a missing one is named.
  const auto dir = std::filesystem::path(::testing::TempDir()) / "profile_csv_test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "rasante.csv";
  std::ofstream(file) << "PK,Cota\n0,10\n5,12\n";
  EXPECT_EQ(items(read_profile_csv(file).Ct), (std::vector<double>{10, 12}));
  try {
    (void)read_profile_csv(dir / "none.csv");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(e.what(), (dir / "none.csv").string() + ": no such file");
  }
  std::filesystem::remove_all(dir);
}

TEST(ProfileCsv, BadLinesAreNamedByFileAndLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"0,100,7\n", "f.csv:1: expected chainage, elevation; found 3 field(s)"},
      {"0,100\n20\n", "f.csv:2: expected chainage, elevation; found 1 field(s)"},
      {"0\t100\n20\t101\n", "f.csv:1: expected chainage, elevation; found 1 field(s)"},
      {"PK,Z\n0,100\n\nx20,101\n", "f.csv:4: chainage is not a number: \"x20\""},
      {"0;100\n20;101,5\n", "f.csv:2: elevation is not a number: \"101,5\""},  // "." is the decimal point
      {"0,100\nPK,Z\n", "f.csv:2: chainage is not a number: \"PK\""},          // a header only comes first
      {"PK,Z\n", "f.csv: a profile needs at least 2 points; found 0"},
      {"0,100\n", "f.csv: a profile needs at least 2 points; found 1"},
      {"", "f.csv: a profile needs at least 2 points; found 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(error_of(c.text), c.message) << c.text;
}

}  // namespace
}  // namespace kestrel::cli
