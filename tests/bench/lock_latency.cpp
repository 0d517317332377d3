// Benchmark: how long a synthetic Caps Lock press takes to reach the main
// window's lock update, through the real low-level hook and the 10 ms timer.
// Prints the median, 90th percentile and worst time of many presses.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/form_main.h"
#include "framework/application.h"

using namespace lumitrax;

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PressCapsLock() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CAPITAL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  Application().SetTitle(L"Lumitrax");
  Application().Initialize();
  TfrmMain form;
  form.chbBeepOnSwitch.SetChecked(false);
  Application().ModalLoop([start = NowMs()] { return NowMs() - start > 1200; });

  std::vector<double> times;
  for (int i = 0; i < presses; ++i) {
    const int before = form.LockMonitor.LockUpdateCount();
    const double start = NowMs();
    PressCapsLock();
    Application().ModalLoop([&] { return form.LockMonitor.LockUpdateCount() != before || NowMs() - start > 3000; });
    if (form.LockMonitor.LockUpdateCount() != before) times.push_back(NowMs() - start);
  }
  if (form.LockMonitor.LockStates()[1]) PressCapsLock();
  if (times.empty()) {
    std::printf("no press reached the update\n");
    return 1;
  }
  std::sort(times.begin(), times.end());
  std::printf("presses: %d, seen: %zu\n", presses, times.size());
  std::printf("press to update: median %.1f ms, p90 %.1f ms, worst %.1f ms\n", times[times.size() / 2],
              times[times.size() * 9 / 10], times.back());
  return 0;
}
