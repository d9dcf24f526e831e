// Writing the program's USB identity into the configuration memory (EEPROM) of every FTDI chip
// attached: the manufacturer, the description by which the link finds the instrument, and the flag
// that binds the chip to the D2XX driver.
#pragma once

// Where the identity routine reports its steps, one line of text each; the identity dialog fills
// it in. Called on the main thread.
class FtIdentMemo {
 public:
  // Removes every line shown so far.
  virtual void FtIdentClear() = 0;
  // Appends one line (UTF-8); an empty text gives an empty line.
  virtual void FtIdentAddLine(const char* text) = 0;

 protected:
  ~FtIdentMemo() = default;
};

// What every chip is given.
inline constexpr char kIdentManufacturer[] = "halvorinkastel";
// The description is the transport's kInstrumentDescription, "VRX-470".

// The lines it writes when the driver library is not loaded.
inline constexpr char kIdentNoDriverLine[] = "Драйвер не найден!";
inline constexpr char kIdentReinstallLine[] = "Переустановите драйвер устройства!";

// Programs every attached FTDI chip and reports each step. Main thread only, with the connection
// thread held; it takes the link lock for its whole run and leaves FtHandle closed (null), so the
// connection thread reopens the instrument by its description. Without a loaded driver library it
// says so and calls no entry point.
void FtProgramIdent(FtIdentMemo& memo);
