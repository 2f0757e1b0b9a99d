// GetOpenFileNameEx: checks the request, runs the chooser and hands back the chosen path.
#include <algorithm>

#include "platform/shell/FileChooser.h"
#include "platform/shell/WinCommDlg.h"

namespace {

DWORD& extendedError() {
  static DWORD error = 0;
  return error;
}

BOOL fail(DWORD error) {
  extendedError() = error;
  return FALSE;
}

}  // namespace

DWORD CommDlgExtendedError() { return extendedError(); }

BOOL GetOpenFileNameEx(LPOPENFILENAMEEX ofn) {
  using namespace platform::shell;
  extendedError() = 0;
  if (ofn == nullptr || ofn->lStructSize != sizeof(OPENFILENAMEEX)) return fail(CDERR_STRUCTSIZE);
  if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) return fail(CDERR_INITIALIZATION);
  if (ofn->hwndOwner != nullptr && !IsWindow(ofn->hwndOwner)) return fail(CDERR_DIALOGFAILURE);

  FileChooser::Options options;
  options.owner = ofn->hwndOwner;
  const bool thumbnails = (ofn->ExFlags & OFN_EXFLAG_THUMBNAILVIEW) != 0;
  options.mode = thumbnails ? FileChooserView::Mode::Thumbnails : FileChooserView::Mode::Details;
  options.title = ofn->lpstrTitle != nullptr ? std::u16string(ofn->lpstrTitle)
                                             : std::u16string(thumbnails ? u"Select Picture" : u"Open");
  options.patterns = FolderListing::filterPatterns(ofn->lpstrFilter, ofn->nFilterIndex);
  options.sortOrder = ofn->dwSortOrder;
  options.lockFolder = (ofn->ExFlags & OFN_EXFLAG_LOCKDIRECTORY) != 0;
  if (ofn->lpstrInitialDir != nullptr) options.folder = ofn->lpstrInitialDir;
  // A file already named in the buffer opens its folder with it selected.
  const std::u16string given(ofn->lpstrFile, std::find(ofn->lpstrFile, ofn->lpstrFile + ofn->nMaxFile, u'\0'));
  if (!given.empty() && given.front() == u'\\' && FolderListing::isFile(FolderListing::normalize(given))) {
    const std::u16string file = FolderListing::normalize(given);
    if (options.folder.empty()) options.folder = FolderListing::parent(file);
    if (FolderListing::normalize(options.folder) == FolderListing::parent(file)) {
      options.selectName = file.substr(file.find_last_of(u'\\') + 1);
    }
  }

  FileChooser chooser(std::move(options));
  if (!chooser.open()) return fail(CDERR_DIALOGFAILURE);
  const std::optional<std::u16string> path = chooser.run();
  if (!path) return FALSE;

  if (path->size() + 1 > ofn->nMaxFile) {
    // The caller learns the size it needs, in characters, from the first two bytes.
    ofn->lpstrFile[0] = static_cast<WCHAR>(std::min<std::size_t>(path->size() + 1, 0xFFFF));
    if (ofn->nMaxFile > 1) ofn->lpstrFile[1] = u'\0';
    return fail(FNERR_BUFFERTOOSMALL);
  }
  std::copy(path->begin(), path->end(), ofn->lpstrFile);
  ofn->lpstrFile[path->size()] = u'\0';
  const std::size_t nameStart = path->find_last_of(u'\\') + 1;
  const std::size_t dot = path->find_last_of(u'.');
  ofn->nFileOffset = static_cast<WORD>(nameStart);
  ofn->nFileExtension = static_cast<WORD>(dot != std::u16string::npos && dot >= nameStart ? dot + 1 : path->size());
  if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > 0) {
    const std::u16string name = path->substr(nameStart);
    const std::size_t n = std::min<std::size_t>(name.size(), ofn->nMaxFileTitle - 1);
    std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n), ofn->lpstrFileTitle);
    ofn->lpstrFileTitle[n] = u'\0';
  }
  return TRUE;
}
