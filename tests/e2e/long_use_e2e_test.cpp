// Long use of the real program: two hundred help prompts and two hundred
// message boxes leave no memory, thread or handle behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

constexpr int kCycles = 200;
constexpr int kSettleCycles = 20;  // what the first cycles take is the yardstick
constexpr SIZE_T kMemorySlack = 1 << 20;

// What the program holds at one moment, as another process sees it. Zero
// stands for what the platform does not count.
struct Footprint {
  SIZE_T private_bytes = 0;
  SIZE_T working_set = 0;
  int threads = 0;
  DWORD gdi_objects = 0;
  DWORD user_objects = 0;
  DWORD handles = 0;
};

int ThreadCount(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == pid) ++count;
  CloseHandle(snapshot);
  return count;
}

// Kernel handles of a process from the system's handle list, which Wine
// keeps although it does not answer GetProcessHandleCount; -1 when unknown.
struct SystemHandleEntry {
  PVOID object;
  ULONG_PTR process_id;
  ULONG_PTR handle;
  ULONG access;
  USHORT back_trace_index;
  USHORT type_index;
  ULONG attributes;
  ULONG reserved;
};
struct SystemHandleList {
  ULONG_PTR count;
  ULONG_PTR reserved;
  SystemHandleEntry entries[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

long ListedHandles(DWORD pid) {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<ULONG_PTR> buffer(1 << 16);
  LONG status;
  ULONG needed = 0;
  while ((status = query(kSystemExtendedHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size() * sizeof buffer[0]), &needed)) ==
         kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
  long count = 0;
  for (ULONG_PTR i = 0; i < list->count; ++i)
    if (list->entries[i].process_id == pid) ++count;
  return count;
}

Footprint Measure(DWORD pid) {
  Footprint footprint;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return footprint;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    // The same commit charge under its older name: Wine 8 fills only that one.
    footprint.private_bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    footprint.working_set = memory.WorkingSetSize;
  }
  footprint.gdi_objects = GetGuiResources(process, GR_GDIOBJECTS);
  footprint.user_objects = GetGuiResources(process, GR_USEROBJECTS);
  if (!GetProcessHandleCount(process, &footprint.handles)) footprint.handles = 0;
  CloseHandle(process);
  if (footprint.handles == 0) {
    const long listed = ListedHandles(pid);
    if (listed > 0) footprint.handles = static_cast<DWORD>(listed);
  }
  footprint.threads = ThreadCount(pid);
  return footprint;
}

void Print(const char* when, const Footprint& f) {
  std::printf("[ measured ] %-20s private %8.1f KiB, working set %8.1f KiB, %d threads\n", when,
              f.private_bytes / 1024.0, f.working_set / 1024.0, f.threads);
}

// Runs the cycles and compares what the program holds after the first ones
// with what it holds after all of them. `cycle` does one and leaves the
// program idle, as it found it.
void ExpectNothingAccumulates(const AppUnderTest& app, const std::function<void(int)>& cycle) {
  const Footprint before = Measure(app.pid());
  ASSERT_GT(before.private_bytes, 0u) << "the program's memory cannot be read";
  ASSERT_GT(before.working_set, 0u);
  ASSERT_GT(before.threads, 0);
  Print("before", before);
  Footprint settled;
  for (int i = 0; i < kCycles; ++i) {
    cycle(i);
    if (::testing::Test::HasFatalFailure()) return;
    if (i + 1 == kSettleCycles) {
      settled = Measure(app.pid());
      Print("after the first 20", settled);
    }
  }
  const Footprint after = Measure(app.pid());
  Print("after all 200", after);
  std::printf(
      "[ measured ] growth from cycle 20 to 200: private %+.1f KiB, working set %+.1f KiB\n",
      (static_cast<double>(after.private_bytes) - settled.private_bytes) / 1024.0,
      (static_cast<double>(after.working_set) - settled.working_set) / 1024.0);

  EXPECT_LE(after.private_bytes, settled.private_bytes + kMemorySlack);
  EXPECT_LE(after.working_set, settled.working_set + kMemorySlack);
  // A thread of the platform's may end meanwhile; none of the program's may stay.
  EXPECT_LE(after.threads, before.threads) << "a thread outlived its window";

  std::printf("[ measured ] kernel handles %lu before, %lu after the first 20, %lu after all\n",
              before.handles, settled.handles, after.handles);
  if (before.handles == 0)
    std::printf("[ not counted ] the platform does not count kernel handles\n");
  else
    EXPECT_LE(after.handles, settled.handles);
  // A GUI process always holds some of both kinds.
  if (before.gdi_objects == 0 && before.user_objects == 0) {
    std::printf("[ not counted ] Wine does not count GDI/USER objects (GetGuiResources gives 0)\n");
    return;
  }
  std::printf("[ measured ] GDI objects %lu -> %lu, USER objects %lu -> %lu\n", before.gdi_objects,
              after.gdi_objects, before.user_objects, after.user_objects);
  EXPECT_LE(after.gdi_objects, settled.gdi_objects);
  EXPECT_LE(after.user_objects, settled.user_objects);
}

TEST(LongUseEndToEnd, TwoHundredHelpPromptsLeaveNothingBehind) {
  ASSERT_TRUE(test::RegisterRecordingBrowser());
  AppUnderTest app("e2e-long-help");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  HWND help = test::FindChildByText(main, "使用说明");
  ASSERT_TRUE(help);

  // Every tenth prompt runs out its three seconds and opens the help; the
  // others are closed in the four ways a user can, asking or loading (while
  // the animation plays).
  enum class End { Timer, EscAsking, CloseAsking, EscLoading, CloseLoading };
  const auto end_of = [](int i) {
    if (i % 10 == 9) return End::Timer;
    return static_cast<End>(1 + i % 4);
  };
  int timer_ends = 0;
  int threads_asking = 0;
  int threads_loading = 0;
  std::printf("[ info ] %d prompts: %d run out their timer, the others end by Esc or close\n",
              kCycles, kCycles / 10);
  ExpectNothingAccumulates(app, [&](int i) {
    SCOPED_TRACE("prompt " + std::to_string(i + 1));
    PostMessageA(help, BM_CLICK, 0, 0);
    HWND prompt = test::WaitForWindow(nullptr, "使用说明：", 10000, app.pid());
    ASSERT_TRUE(prompt);
    HWND confirm = test::FindChildByText(prompt, "确定");
    ASSERT_TRUE(confirm);
    const End end = end_of(i);
    if (end != End::EscAsking && end != End::CloseAsking) {
      if (threads_asking == 0) threads_asking = ThreadCount(app.pid());
      PostMessageA(confirm, BM_CLICK, 0, 0);
      ASSERT_TRUE(test::WaitUntil([&] { return !IsWindowVisible(confirm); }, 5000));
      // The animation plays on a worker of its own: the count sees it.
      if (threads_loading == 0) {
        test::WaitUntil([&] { return ThreadCount(app.pid()) > threads_asking; }, 2000);
        threads_loading = ThreadCount(app.pid());
      }
    }
    if (end == End::EscAsking || end == End::EscLoading)
      PostMessageA(prompt, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    else if (end == End::CloseAsking || end == End::CloseLoading)
      PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      ++timer_ends;
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(prompt); }, 10000));
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
  });
  std::printf("[ measured ] %d threads while a prompt asks, %d while it plays its animation\n",
              threads_asking, threads_loading);
  EXPECT_GT(threads_loading, threads_asking) << "the thread count does not see the worker";
  EXPECT_EQ(timer_ends, kCycles / 10);
  EXPECT_TRUE(test::WaitUntil(
      [&] { return test::BrowserAddresses(app.netsh_log()).size() == kCycles / 10u; }, 10000))
      << "the help opened once for each prompt that ran out its time";
}

TEST(LongUseEndToEnd, TwoHundredMessageBoxesLeaveNothingBehind) {
  AppUnderTest app("e2e-long-boxes");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  HWND start = test::FindChildByText(main, "开启无线网②");
  HWND set = test::FindChildByText(main, "开启网卡①");
  ASSERT_TRUE(start && set);

  // Half of them run the recording netsh, half refuse the empty name.
  std::printf("[ info ] %d boxes: every other one runs netsh\n", kCycles);
  ExpectNothingAccumulates(app, [&](int i) {
    SCOPED_TRACE("box " + std::to_string(i + 1));
    const bool runs_netsh = i % 2 == 0;
    PostMessageA(runs_netsh ? start : set, BM_CLICK, 0, 0);
    HWND box = app.WaitForBox("信息：", 20000);
    ASSERT_TRUE(box);
    std::string text;
    test::WaitUntil([&] { return !(text = test::MessageBoxText(box)).empty(); }, 5000);
    ASSERT_EQ(text, runs_netsh ? "开启无线网成功！" : "请输入Wifi账号！（禁止使用汉字！）");
    test::PressBoxButton(box, IDOK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(box); }, 5000));
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
  });
  EXPECT_EQ(test::ReadRecords(app.netsh_log()).size(), kCycles / 2u);
}

}  // namespace
}  // namespace pavrelin
