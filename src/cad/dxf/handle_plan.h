// Handles of a saved drawing. The skeleton (tables, dictionaries, layouts,
// the model and paper space records) has fixed handles below kFirstFree.
// Entities and attributes keep the drawing's own handles when those are all
// distinct and not below kFirstFree (so a drawing loaded from a file keeps
// its handles); otherwise they are numbered in the order they are written.
// Everything else a file needs a handle for (table records, blocks,
// vertices, sequence ends) takes the next one above the highest of those.
#pragma once

#include <cstdint>
#include <vector>

#include "cad/memcad/document.h"

namespace kestrel::dxf {

namespace handle {
inline constexpr std::uint64_t kBlockRecordTable = 0x1;
inline constexpr std::uint64_t kLayerTable = 0x2;
inline constexpr std::uint64_t kStyleTable = 0x3;
inline constexpr std::uint64_t kDimStyleTable = 0x4;
inline constexpr std::uint64_t kLinetypeTable = 0x5;
inline constexpr std::uint64_t kViewTable = 0x6;
inline constexpr std::uint64_t kUcsTable = 0x7;
inline constexpr std::uint64_t kVportTable = 0x8;
inline constexpr std::uint64_t kAppIdTable = 0x9;
inline constexpr std::uint64_t kRootDictionary = 0xA;
inline constexpr std::uint64_t kGroupDictionary = 0xB;
inline constexpr std::uint64_t kLayoutDictionary = 0xC;
inline constexpr std::uint64_t kModelLayout = 0xD;
inline constexpr std::uint64_t kPaperLayout = 0xE;
inline constexpr std::uint64_t kModelSpaceRecord = 0x10;
inline constexpr std::uint64_t kModelSpaceBlock = 0x11;
inline constexpr std::uint64_t kModelSpaceEnd = 0x12;
inline constexpr std::uint64_t kPaperSpaceRecord = 0x13;
inline constexpr std::uint64_t kPaperSpaceBlock = 0x14;
inline constexpr std::uint64_t kPaperSpaceEnd = 0x15;
inline constexpr std::uint64_t kActiveViewport = 0x16;
inline constexpr std::uint64_t kAcadAppId = 0x17;
inline constexpr std::uint64_t kStandardDimStyle = 0x18;
inline constexpr std::uint64_t kFirstFree = 0x40;
}  // namespace handle

// The blocks other than model and paper space, in table order: the order
// a saved file lists them in.
[[nodiscard]] std::vector<const memcad::Block*> user_blocks(const memcad::Document& doc);

class HandlePlan {
 public:
  explicit HandlePlan(const memcad::Document& doc);

  // The handle an entity or attribute is written with, in writing order.
  [[nodiscard]] std::uint64_t entity(const memcad::Entity& e) noexcept {
    return keep_own_ ? e.handle() : next_entity_++;
  }
  // A handle for anything else.
  [[nodiscard]] std::uint64_t next() noexcept { return next_extra_++; }
  // $HANDSEED: above every handle the file will hold.
  [[nodiscard]] std::uint64_t seed() const noexcept { return seed_; }

 private:
  bool keep_own_ = true;
  std::uint64_t next_entity_ = handle::kFirstFree;
  std::uint64_t next_extra_ = 0;
  std::uint64_t seed_ = 0;
};

}  // namespace kestrel::dxf
