// While the main thread waits for a worker (a utility waiting for the connection thread to be
// held), its windows keep painting and the worker's synchronised calls run, but input waits until
// the main thread is back.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "application.h"
#include "controls.h"
#include "form.h"
#include "thread.h"

namespace {

using namespace ui;

std::atomic<int> paints{0};

// Runs a synchronised call, then stays until the windows have painted again (or gives up).
class Worker : public os::TThread {
 public:
  explicit Worker(int paintedBefore) : TThread(false), paintedBefore_(paintedBefore) {}
  bool called = false;  // main thread only

 protected:
  void Execute() override {
    Synchronize([this] { called = true; });
    for (int i = 0; i < 500 && paints <= paintedBefore_; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

 private:
  int paintedBefore_;
};

TEST(MainThreadWaitTest, PaintsAndRunsCallsButLeavesInputQueued) {
  Application->Initialize();
  TForm* form = new TForm(Application);
  form->SetBounds(50, 50, 300, 200);
  TPaintControl* paint = new TPaintControl(form);
  paint->SetParent(form);
  paint->SetAlign(TAlign::alClient);
  paint->OnPaint = [](TObject*, TCanvas&) { ++paints; };
  form->Show();
  ::UpdateWindow(static_cast<HWND>(form->Handle()));
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    ::DispatchMessageW(&message);

  // A key for the form and a part to paint again arrive while the main thread waits.
  HWND window = static_cast<HWND>(form->Handle());
  ::PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  ::InvalidateRect(static_cast<HWND>(paint->Handle()), nullptr, TRUE);
  const int before = paints;
  Worker* worker = os::TThread::Create<Worker>(before);
  worker->WaitFor();

  EXPECT_TRUE(worker->called);
  EXPECT_GT(paints.load(), before);
  EXPECT_TRUE(::PeekMessageW(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  delete worker;
  delete form;
}

}  // namespace
