#include "platform/base/ResourceTable.h"

#include <cstring>

#include "platform/base/TextCase.h"
#include "platform/base/WinError.h"

namespace platform {

ResourceTable& ResourceTable::instance() {
  static ResourceTable table;
  return table;
}

void ResourceTable::addString(UINT id, std::u16string text) {
  std::lock_guard lock(mutex_);
  strings_[id] = std::move(text);
}

void ResourceTable::addStrings(std::span<const StringResource> strings) {
  std::lock_guard lock(mutex_);
  for (const StringResource& s : strings) strings_[s.id] = s.text ? s.text : u"";
}

const std::u16string* ResourceTable::findString(UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = strings_.find(id);
  return it == strings_.end() ? nullptr : &it->second;
}

void ResourceTable::addMenu(UINT id, MenuResource menu) {
  std::lock_guard lock(mutex_);
  menus_[id] = std::move(menu);
}

const MenuResource* ResourceTable::findMenu(UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = menus_.find(id);
  return it == menus_.end() ? nullptr : &it->second;
}

void ResourceTable::addMenuBar(UINT id, MenuBarResource menuBar) {
  std::lock_guard lock(mutex_);
  menuBars_[id] = std::move(menuBar);
}

const MenuBarResource* ResourceTable::findMenuBar(UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = menuBars_.find(id);
  return it == menuBars_.end() ? nullptr : &it->second;
}

void ResourceTable::addAccelerators(UINT id, std::vector<AcceleratorResource> table) {
  std::lock_guard lock(mutex_);
  accelerators_[id] = std::move(table);
}

const std::vector<AcceleratorResource>* ResourceTable::findAccelerators(UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = accelerators_.find(id);
  return it == accelerators_.end() ? nullptr : &it->second;
}

void ResourceTable::addImage(std::u16string_view type, UINT id, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  images_[{platform::upperCase(type), id}] = bytes;
}

std::span<const std::uint8_t> ResourceTable::findImage(std::u16string_view type, UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = images_.find({platform::upperCase(type), id});
  return it == images_.end() ? std::span<const std::uint8_t>() : it->second;
}

UINT ResourceTable::firstImageId(std::u16string_view type) const {
  std::lock_guard lock(mutex_);
  auto it = images_.lower_bound({platform::upperCase(type), 0});
  return it != images_.end() && it->first.first == platform::upperCase(type) ? it->first.second : 0;
}

void ResourceTable::clear() {
  std::lock_guard lock(mutex_);
  strings_.clear();
  menus_.clear();
  menuBars_.clear();
  accelerators_.clear();
  images_.clear();
}

std::u16string loadString(UINT id) {
  const std::u16string* text = ResourceTable::instance().findString(id);
  return text ? *text : std::u16string();
}

}  // namespace platform

int LoadStringW(HINSTANCE, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string* text = platform::ResourceTable::instance().findString(uID);
  if (!text || text->empty()) {
    // An empty string is not stored by the resource compiler either.
    if (cchBufferMax > 0) lpBuffer[0] = 0;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (cchBufferMax == 0) {
    const WCHAR* pointer = text->c_str();
    std::memcpy(lpBuffer, &pointer, sizeof pointer);
    return static_cast<int>(text->size());
  }
  const std::size_t n = text->size() < static_cast<std::size_t>(cchBufferMax - 1)
                            ? text->size()
                            : static_cast<std::size_t>(cchBufferMax - 1);
  std::memcpy(lpBuffer, text->data(), n * sizeof(WCHAR));
  lpBuffer[n] = 0;
  return static_cast<int>(n);
}
