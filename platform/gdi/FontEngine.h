// Finds the DejaVu Sans faces with fontconfig and hands out sized font instances, shared by
// every HFONT that asks for the same size, weight and style.
#pragma once

#include <map>
#include <memory>
#include <tuple>

#include "platform/gdi/FontInstance.h"

struct FT_LibraryRec_;

namespace platform::gdi {

class FontEngine {
 public:
  static FontEngine& instance();
  ~FontEngine();

  FontInstance& fontFor(const LOGFONTW& font);

 private:
  FontEngine();
  FT_FaceRec_* face(bool bold);

  FT_LibraryRec_* library_ = nullptr;
  FT_FaceRec_* faces_[2] = {nullptr, nullptr};
  bool looked_[2] = {false, false};
  std::map<std::tuple<LONG, bool, bool, bool, bool, bool>, std::unique_ptr<FontInstance>> instances_;
};

}  // namespace platform::gdi
