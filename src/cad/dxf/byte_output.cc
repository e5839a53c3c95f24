#include "cad/dxf/byte_output.h"

#include <random>
#include <system_error>

#include "core/error.h"

namespace kestrel::dxf {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 16;

std::string random_suffix(std::mt19937_64& random) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s;
  std::uint64_t v = random();
  for (int i = 0; i < 12; ++i, v >>= 4) s.push_back(kHex[v & 0xF]);
  return s;
}

}  // namespace

AtomicFileOutput::AtomicFileOutput(fs::path target) : target_(std::move(target)) {
  std::error_code ec;
  if (fs::is_symlink(target_, ec)) {
    // Saving through a link replaces the file it points to, not the link.
    fs::path resolved = fs::canonical(target_, ec);
    if (!ec) target_ = std::move(resolved);
  }
  if (fs::is_directory(target_, ec)) fail("es una carpeta");
  const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
  if (!fs::is_directory(folder, ec)) fail("la carpeta no existe");
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < kNameAttempts && !file_.is_open(); ++attempt) {
    std::string name = ".";
    name += target_.filename().string();
    name += '.';
    name += random_suffix(random);
    name += ".tmp";
    fs::path candidate = folder / name;
    if (fs::exists(candidate, ec)) continue;
    file_.open(candidate, std::ios::binary | std::ios::trunc);
    if (file_.is_open()) temporary_ = std::move(candidate);
  }
  if (!file_.is_open()) fail("no se puede crear un archivo temporal en su carpeta");
}

AtomicFileOutput::~AtomicFileOutput() {
  if (committed_) return;
  file_.close();
  std::error_code ignored;
  fs::remove(temporary_, ignored);
}

void AtomicFileOutput::write(std::string_view bytes) {
  file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file_) fail("error de escritura (¿disco lleno?)");
}

void AtomicFileOutput::commit() {
  file_.close();
  if (file_.fail()) fail("error de escritura al cerrar el archivo (¿disco lleno?)");
  std::error_code ec;
  const fs::file_status old = fs::status(target_, ec);
  if (!ec && fs::exists(old)) fs::permissions(temporary_, old.permissions(), ec);
  fs::rename(temporary_, target_, ec);
  if (ec) fail("no se puede reemplazar el archivo");
  committed_ = true;
}

void AtomicFileOutput::fail(std::string_view what) const {
  std::string d = "No se puede guardar el archivo DXF «";
  d += target_.string();
  d += "»: ";
  d.append(what);
  throw core::Error(core::kAutomationError, "", std::move(d));
}

}  // namespace kestrel::dxf
