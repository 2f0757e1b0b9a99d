// A tree view in a parent window on the headless device. The parent records every
// notification in the message log (WM_NOTIFY with the code and the item's lParam, the index of
// its name in the fixture's table) and answers as a test tells it to.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Utf.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/sys/WinBase.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

class TreeFixture : public ::testing::Test {
 protected:
  static constexpr UINT kTreeId = 77;
  static constexpr DWORD kChooserStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;

  // What the parent does with a notification beyond recording it; the result is its answer.
  using Answer = std::function<LRESULT(NMHDR&)>;

  explicit TreeFixture(platform::Edition edition = platform::Edition::PocketPc, int width = 240, int height = 320)
      : device(edition, width, height) {}

  void SetUp() override {
    platform::controls::registerControlClasses();
    current() = this;
    log().clear();
    log().keepOnly({WM_NOTIFY});
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TreeFixture::parentProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = u"TreeParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"TreeParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                             GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    log().name(parent, "parent");
  }

  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
    current() = nullptr;
  }

  HWND createTree(DWORD style = kChooserStyle, int width = 0, int height = 0) {
    RECT rc{};
    GetClientRect(parent, &rc);
    tree = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0,
                           width > 0 ? width : rc.right, height > 0 ? height : rc.bottom, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTreeId)), nullptr, nullptr);
    SetFocus(tree);
    return tree;
  }

  // Inserts an item whose lParam is the index of its name.
  HTREEITEM add(HTREEITEM under, const std::u16string& name, HTREEITEM after = TVI_LAST, int image = 0) {
    names.push_back(platform::toUtf8(name));
    TVINSERTSTRUCTW insert{};
    insert.hParent = under;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(name.c_str());
    insert.item.lParam = static_cast<LPARAM>(names.size() - 1);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    return TreeView_InsertItem(tree, &insert);
  }

  std::u16string textOf(HTREEITEM item) {
    WCHAR buffer[128] = {};
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = buffer;
    tvi.cchTextMax = 128;
    return TreeView_GetItem(tree, &tvi) ? std::u16string(buffer) : u"<none>";
  }

  // The texts of an item's children, in order.
  std::vector<std::u16string> childrenOf(HTREEITEM item) {
    std::vector<std::u16string> out;
    for (HTREEITEM c = TreeView_GetChild(tree, item); c != nullptr; c = TreeView_GetNextSibling(tree, c)) {
      out.push_back(textOf(c));
    }
    return out;
  }

  std::u16string selected() { return textOf(TreeView_GetSelection(tree)); }
  UINT state(HTREEITEM item) { return TreeView_GetItemState(tree, item, 0xFFFF); }

  // The recorded notifications as "TVN_ITEMEXPANDING Photos" (the item's name, or the key).
  std::vector<std::string> notifications() const {
    std::vector<std::string> out;
    for (const auto& e : platform::testing::MessageLog::instance().entries()) {
      std::string detail = e.code == TVN_KEYDOWN ? keyName(e.key)
                           : e.item >= 0 && e.item < static_cast<int>(names.size())
                               ? names[static_cast<std::size_t>(e.item)]
                               : "";
      out.push_back(codeName(e.code) + (detail.empty() ? "" : " " + detail));
    }
    return out;
  }

  static std::string keyName(LPARAM vk) {
    switch (vk) {
      case VK_UP:
        return "UP";
      case VK_DOWN:
        return "DOWN";
      case VK_LEFT:
        return "LEFT";
      case VK_RIGHT:
        return "RIGHT";
      case VK_RETURN:
        return "ENTER";
      case VK_HOME:
        return "HOME";
      case VK_END:
        return "END";
      default:
        return std::to_string(vk);
    }
  }

  static std::string codeName(UINT code) {
    switch (code) {
      case TVN_SELCHANGINGW:
        return "TVN_SELCHANGING";
      case TVN_SELCHANGEDW:
        return "TVN_SELCHANGED";
      case TVN_ITEMEXPANDINGW:
        return "TVN_ITEMEXPANDING";
      case TVN_ITEMEXPANDEDW:
        return "TVN_ITEMEXPANDED";
      case TVN_DELETEITEMW:
        return "TVN_DELETEITEM";
      case TVN_GETDISPINFOW:
        return "TVN_GETDISPINFO";
      case TVN_KEYDOWN:
        return "TVN_KEYDOWN";
      case NM_CLICK:
        return "NM_CLICK";
      case NM_DBLCLK:
        return "NM_DBLCLK";
      case NM_RETURN:
        return "NM_RETURN";
      case NM_SETFOCUS:
        return "NM_SETFOCUS";
      case NM_KILLFOCUS:
        return "NM_KILLFOCUS";
      default:
        return std::to_string(code);
    }
  }

  static platform::testing::MessageLog& log() { return platform::testing::MessageLog::instance(); }

  platform::testing::TestDevice device;
  HWND parent = nullptr;
  HWND tree = nullptr;
  std::vector<std::string> names;
  Answer answer;
  // Codes left out of the record (focus changes, display-info questions) unless a test wants them.
  std::vector<UINT> quiet{NM_SETFOCUS, NM_KILLFOCUS, TVN_GETDISPINFOW};

 private:
  static TreeFixture*& current() {
    static TreeFixture* fixture = nullptr;
    return fixture;
  }

  static LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TreeFixture* self = current();
    if (message != WM_NOTIFY || self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    const auto& quiet = self->quiet;
    if (std::find(quiet.begin(), quiet.end(), header.code) == quiet.end()) log().record(hwnd, message, wParam, lParam);
    return self->answer ? self->answer(header) : 0;
  }
};
