// The USB-identity dialog on the component model, with a real connection thread against the
// simulated chips: opened by the main window's command, holding the thread while it is open and
// leaving its suspension count as it found it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "connection_thread.h"
#include "counting_host.h"
#include "dialogs.h"
#include "eeprom_images.h"
#include "ft_ident_form.h"
#include "ft_transport.h"
#include "main_form.h"
#include "main_thread_pump.h"
#include "records.h"
#include "sim_control.h"
#include "temp_dir.h"

namespace {

class FtIdentFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simctl::UseSimulator();
    ResetFtTransportForTests();
    ResetConnectionStateForTests();
    SignalRecord.log2N = 12;  // as the main window's creation sets it
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
    ASSERT_TRUE(simctl::Configure(("devices = 2\neeprom_file = " + imageFile_).c_str()));
    MForm = new TMForm(nullptr);
    FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host_, std::nullopt);
    ASSERT_TRUE(PumpUntil([&] { return host_.readings > 0; }, "a reading before the dialog"));
  }
  void TearDown() override {
    ui::SetModalHook(nullptr);
    while (FtConnectThread->SuspendCount() > 0)
      FtConnectThread->Resume();
    FtConnectThread->Terminate();
    FtConnectThread->WaitFor();
    delete FtConnectThread;
    FtConnectThread = nullptr;
    delete MForm;
    MForm = nullptr;
  }
  // Readings arrive again once the thread runs.
  void ExpectMeasuringOn() {
    const int readings = host_.readings;
    EXPECT_TRUE(PumpUntil([&] { return host_.readings > readings; }, "a reading after the dialog"));
  }

  TempDir dir_;
  std::string imageFile_ = dir_.File("eeprom.txt");
  CountingHost host_;
};

// Opened unused, the dialog holds the thread and lets it go again with the link untouched: the
// end-to-end case walks that path.
TEST_F(FtIdentFormTest, ARunWithAnUpdatesSuspensionStandingLeavesThatSuspensionAfterClosing) {
  // A firmware update left the thread suspended once.
  FtConnectThread->Suspend();
  const std::vector<ChipImage> before = ReadEepromImages(imageFile_);
  bool shown = false;
  ui::SetModalHook([&](ui::TForm& form) {
    shown = true;
    ASSERT_EQ(&form, FtIdentForm);
    EXPECT_EQ(FtConnectThread->SuspendCount(), 2);
    EXPECT_TRUE(FtConnectThread->Held());
    FtIdentForm->Button1->Click();
    const std::vector<std::string> firstRun = FtIdentForm->Memo->Lines();
    EXPECT_EQ(firstRun.size(), 10u) << "the count, an empty line and four lines a chip";
    // A second press programs the chips again; the memo shows that run alone.
    FtIdentForm->Button1->Click();
    EXPECT_EQ(FtIdentForm->Memo->Lines(), firstRun);
    // Esc, as "Закрыть".
    EXPECT_TRUE(form.DialogKey(ui::TDialogKey::Escape, nullptr));
  });
  MForm->ft2321->Click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(FtIdentForm, nullptr);
  const std::vector<ChipImage> after = ReadEepromImages(imageFile_);
  ASSERT_EQ(after.size(), 2u);
  for (size_t k = 0; k < after.size(); ++k)
    EXPECT_EQ(IdentityProblems(before[k], after[k]), "") << "chip " << k;
  EXPECT_EQ(FtConnectThread->SuspendCount(), 1);

  // The firmware dialog opened again: the thread finds the link closed, reopens the instrument by
  // its description and measures on.
  const uint32_t opens = simctl::Counter("FT_OpenEx");
  FtConnectThread->Resume();
  ExpectMeasuringOn();
  EXPECT_GT(simctl::Counter("FT_OpenEx"), opens);
  EXPECT_EQ(UsbConnected, 1);
}

}  // namespace
