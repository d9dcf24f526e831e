// The USB-identity dialog on the component model, with a real connection thread against the
// simulated chips: opened by the main window's command, as designed, holding the thread while it
// is open and leaving its suspension count as it found it.
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
    before_ = Images();
    MForm = new TMForm(nullptr);
    FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host_, std::nullopt);
    ASSERT_TRUE(PumpUntil([&] { return host_.readings > 0; })) << "no reading before the dialog";
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
  std::vector<ChipImage> Images() const {
    const std::vector<unsigned char> bytes = ReadWholeFile(imageFile_);
    return ParseEepromImages(std::string(bytes.begin(), bytes.end()));
  }
  // Readings arrive again once the thread runs.
  void ExpectMeasuringOn() {
    const int readings = host_.readings;
    EXPECT_TRUE(PumpUntil([&] { return host_.readings > readings; }))
        << "no reading after the dialog closed";
  }

  TempDir dir_;
  std::string imageFile_ = dir_.File("eeprom.txt");
  std::vector<ChipImage> before_;
  CountingHost host_;
};

TEST_F(FtIdentFormTest, OpenedAsDesignedAndClosedUnusedItLeavesTheLinkAlone) {
  const uint32_t opens = simctl::Counter("FT_OpenEx");
  const uint32_t closes = simctl::Counter("FT_Close");
  TFtIdentForm* seen = nullptr;
  ui::SetModalHook([&](ui::TForm& form) {
    seen = FtIdentForm;
    ASSERT_EQ(&form, FtIdentForm);
    EXPECT_EQ(form.Caption(), "Вшить идентификатор FT232");
    EXPECT_EQ(form.Width(), 337);
    EXPECT_EQ(form.Height(), 349);
    EXPECT_EQ(form.Position(), ui::TPosition::poMainFormCenter);
    EXPECT_EQ(FtIdentForm->Panel1->Align(), ui::TAlign::alBottom);
    EXPECT_EQ(FtIdentForm->Panel1->Height(), 41);
    struct Button {
      ui::TButton* button;
      const char* caption;
      int left;
    };
    for (const Button& b :
         {Button{FtIdentForm->Button1, "Вшить", 8}, Button{FtIdentForm->Button2, "Закрыть", 88}}) {
      EXPECT_EQ(b.button->Parent(), FtIdentForm->Panel1) << b.caption;
      EXPECT_EQ(b.button->Caption(), b.caption);
      EXPECT_EQ(b.button->Left(), b.left) << b.caption;
      EXPECT_EQ(b.button->Top(), 8) << b.caption;
      EXPECT_EQ(b.button->Width(), 75) << b.caption;
      EXPECT_EQ(b.button->Height(), 25) << b.caption;
    }
    EXPECT_EQ(FtIdentForm->Memo->Align(), ui::TAlign::alClient);
    EXPECT_TRUE(FtIdentForm->Memo->ReadOnly());
    EXPECT_TRUE(FtIdentForm->Memo->Lines().empty());
    // The connection thread stands held while the dialog is open.
    EXPECT_EQ(FtConnectThread->SuspendCount(), 1);
    EXPECT_TRUE(FtConnectThread->Held());
    // Esc closes it as "Закрыть" does.
    EXPECT_TRUE(form.DialogKey(ui::TDialogKey::Escape, nullptr));
  });
  MForm->ft2321->Click();
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(FtIdentForm, nullptr);
  EXPECT_EQ(FtConnectThread->SuspendCount(), 0);
  ExpectMeasuringOn();
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), opens) << "the link was reopened";
  EXPECT_EQ(simctl::Counter("FT_Close"), closes) << "the link was closed";
}

TEST_F(FtIdentFormTest, ARunWithAnUpdatesSuspensionLeftStandingKeepsItAfterClosing) {
  // A firmware update left the thread suspended once.
  FtConnectThread->Suspend();
  ui::SetModalHook([&](ui::TForm& form) {
    EXPECT_EQ(FtConnectThread->SuspendCount(), 2);
    FtIdentForm->Button1->Click();
    const std::vector<std::string> lines = {"подключено 2 устройств",
                                            "",
                                            "устройство номер 0:",
                                            "SerialNumber=VRX47001",
                                            "устройство VRX-470 прошито успешно",
                                            "  ",
                                            "устройство номер 1:",
                                            "SerialNumber=FTSIM001",
                                            "устройство VRX-470 прошито успешно",
                                            "  "};
    EXPECT_EQ(FtIdentForm->Memo->Lines(), lines);
    // The window's own close box.
    form.Close();
  });
  MForm->ft2321->Click();
  const std::vector<ChipImage> after = Images();
  ASSERT_EQ(after.size(), 2u);
  for (size_t k = 0; k < after.size(); ++k)
    EXPECT_EQ(IdentityProblems(before_[k], after[k]), "") << "chip " << k;
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
