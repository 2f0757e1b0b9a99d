#include "platform/shell/ThumbnailQueue.h"

#include <algorithm>

#include "platform/base/TextCase.h"
#include "platform/sys/DevicePath.h"

namespace platform::shell {

ThumbnailQueue::~ThumbnailQueue() { clear(); }

bool ThumbnailQueue::isPictureName(std::u16string_view name) {
  const std::size_t dot = name.find_last_of(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view extension = name.substr(dot + 1);
  for (std::u16string_view known : {u"jpg", u"jpeg", u"jpe", u"jfif", u"png"}) {
    if (equalsIgnoringCase(extension, known)) return true;
  }
  return false;
}

void ThumbnailQueue::clear() {
  job_.reset();
  current_ = -1;
  for (Thumb& t : thumbs_) {
    if (t.bitmap != nullptr) DeleteObject(t.bitmap);
  }
  thumbs_.clear();
  names_.clear();
  pending_ = 0;
}

void ThumbnailQueue::reset(const std::u16string& folder, const std::vector<FolderEntry>& entries, SIZE box) {
  clear();
  folder_ = folder;
  box_ = box;
  thumbs_.resize(entries.size());
  names_.reserve(entries.size());
  const bool decoder = PictureDecoder::installed();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    names_.push_back(entries[i].name);
    if (entries[i].folder || !isPictureName(entries[i].name)) continue;
    // Without the program's decoder a picture cannot be shown; it looks like any file.
    thumbs_[i].state = decoder ? State::Pending : State::Failed;
    if (decoder) ++pending_;
  }
}

bool ThumbnailQueue::hasWork() const { return pending_ > 0; }

int ThumbnailQueue::nextPending(int first, int last) const {
  const int count = static_cast<int>(thumbs_.size());
  for (int i = std::max(first, 0); i <= last && i < count; ++i) {
    if (thumbs_[static_cast<std::size_t>(i)].state == State::Pending) return i;
  }
  for (int i = 0; i < count; ++i) {
    if (thumbs_[static_cast<std::size_t>(i)].state == State::Pending) return i;
  }
  return -1;
}

int ThumbnailQueue::step(int first, int last) {
  if (pending_ == 0) return -1;
  // A picture scrolled out of view is finished anyway: its work so far is not thrown away.
  if (job_ == nullptr) {
    current_ = nextPending(first, last);
    if (current_ < 0) {
      pending_ = 0;
      return -1;
    }
    PictureSource source;
    source.hostPath = sys::DevicePath::toHost(FolderListing::join(folder_, names_[static_cast<std::size_t>(current_)]));
    job_ = PictureDecoder::start(std::move(source), box_);
    if (job_ == nullptr) {
      Thumb& t = thumbs_[static_cast<std::size_t>(current_)];
      t.state = State::Failed;
      --pending_;
      return current_;
    }
  }
  if (!job_->step()) return -1;
  Thumb& t = thumbs_[static_cast<std::size_t>(current_)];
  const std::optional<PicturePixels> pixels = job_->result();
  job_.reset();
  t.bitmap = pixels ? PictureDecoder::toBitmap(*pixels) : nullptr;
  t.state = t.bitmap != nullptr ? State::Ready : State::Failed;
  if (t.bitmap != nullptr) t.size = SIZE{pixels->width, pixels->height};
  --pending_;
  const int done = current_;
  current_ = -1;
  return done;
}

ThumbnailQueue::State ThumbnailQueue::state(int index) const {
  if (index < 0 || index >= static_cast<int>(thumbs_.size())) return State::None;
  return thumbs_[static_cast<std::size_t>(index)].state;
}

HBITMAP ThumbnailQueue::bitmap(int index) const {
  if (index < 0 || index >= static_cast<int>(thumbs_.size())) return nullptr;
  return thumbs_[static_cast<std::size_t>(index)].bitmap;
}

SIZE ThumbnailQueue::size(int index) const {
  if (index < 0 || index >= static_cast<int>(thumbs_.size())) return SIZE{0, 0};
  return thumbs_[static_cast<std::size_t>(index)].size;
}

}  // namespace platform::shell
