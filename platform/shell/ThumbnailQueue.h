// The file chooser's thumbnails: one per listed picture file, decoded one at a time in slices
// while the device has nothing else to do, the pictures on screen first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/shell/FolderListing.h"
#include "platform/shell/PictureDecoder.h"

namespace platform::shell {

class ThumbnailQueue {
 public:
  enum class State { Pending, Ready, Failed, None };  // None: a folder or not a picture

  ThumbnailQueue() = default;
  ~ThumbnailQueue();
  ThumbnailQueue(const ThumbnailQueue&) = delete;
  ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

  // Forgets every thumbnail and queues the pictures of a new listing.
  void reset(const std::u16string& folder, const std::vector<FolderEntry>& entries, SIZE box);
  void clear();

  bool hasWork() const;
  // One slice of work; the pictures from `first` to `last` (inclusive) go before the rest.
  // Returns the entry whose thumbnail was just finished, or -1.
  int step(int first, int last);

  State state(int index) const;
  // The thumbnail of a Ready entry (owned here), else nullptr.
  HBITMAP bitmap(int index) const;
  SIZE size(int index) const;

  // Whether the chooser tries to make a thumbnail of a file by that name.
  static bool isPictureName(std::u16string_view name);

 private:
  struct Thumb {
    State state = State::None;
    HBITMAP bitmap = nullptr;
    SIZE size{0, 0};
  };
  int nextPending(int first, int last) const;

  std::u16string folder_;
  std::vector<std::u16string> names_;
  std::vector<Thumb> thumbs_;
  SIZE box_{0, 0};
  int current_ = -1;
  std::unique_ptr<PictureJob> job_;
  int pending_ = 0;
};

}  // namespace platform::shell
