// Typing into a long note: one character into a 10,000-character multi-line edit that wraps
// its words, with the repaint it causes, in the middle of the text and at its end; and the
// same key coming through the input queue as a typed key does.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/controls/CommonControls.h"
#include "platform/controls/WinEdit.h"
#include "platform/win/Input.h"
#include "tests/support/TestDevice.h"

namespace {

std::u16string noteOf(std::size_t length) {
  static const std::u16string words[] = {u"gift", u"for",    u"Anna's", u"birthday", u"remember",
                                         u"the",  u"blue",   u"scarf",  u"from",     u"Zoë",
                                         u"lent", u"Łukasz", u"book",   u"returned", u"next"};
  std::u16string text;
  for (std::size_t i = 0; text.size() < length; ++i) {
    text += words[(i * 7 + i / 3) % std::size(words)];
    text += i % 23 == 22 ? u".\r\n" : u" ";
  }
  text.resize(length);
  return text;
}

struct Note {
  platform::testing::TestDevice device;
  HWND parent = nullptr;
  HWND edit = nullptr;

  Note() {
    platform::controls::registerControlClasses();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BenchNoteParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"BenchNoteParent", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                             nullptr, nullptr);
    edit = CreateWindowExW(0, WC_EDITW, noteOf(10000).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 4, 0,
                           236, 268, parent, nullptr, nullptr, nullptr);
    SetActiveWindow(parent);
    SetFocus(edit);
    device.runUntilIdle();
  }

  void placeCaret(int at) {
    SendMessageW(edit, EM_SETSEL, at, at);
    device.runUntilIdle();
  }
};

void typeAndRepaint(benchmark::State& state, int at) {
  Note note;
  note.placeCaret(at < 0 ? 10000 : at);
  for (auto _ : state) {
    SendMessageW(note.edit, WM_CHAR, u'a', 1);
    UpdateWindow(note.edit);
    // The text stays at 10,000 characters.
    state.PauseTiming();
    SendMessageW(note.edit, WM_CHAR, 8, 1);
    UpdateWindow(note.edit);
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(SendMessageW(note.edit, EM_GETLINECOUNT, 0, 0));
}

void BM_TypeIntoTheMiddleOfA10kNote(benchmark::State& state) { typeAndRepaint(state, 5000); }
void BM_TypeAtTheEndOfA10kNote(benchmark::State& state) { typeAndRepaint(state, -1); }

void BM_KeyThroughTheQueueIntoA10kNote(benchmark::State& state) {
  Note note;
  note.placeCaret(5000);
  for (auto _ : state) {
    platform::postKeyDown('A');
    platform::postKeyUp('A');
    note.device.runUntilIdle();
    state.PauseTiming();
    SendMessageW(note.edit, WM_CHAR, 8, 1);
    note.device.runUntilIdle();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_TypeIntoTheMiddleOfA10kNote)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeAtTheEndOfA10kNote)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyThroughTheQueueIntoA10kNote)->Unit(benchmark::kMicrosecond);

}  // namespace
