// The simulator's ftd2xx.dll as the program meets it: loaded by name, entry points found by their
// plain names, stdcall calls, and the scenario file named by VRX_SIM_SCENARIO.
#if defined(_WIN32)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "d2xx.h"
#include "library.h"

namespace {

using PConfigure = int(FT_API*)(const char*);
using PCounter = uint32_t(FT_API*)(const char*);

TEST(SimDll, LoadsByNameAndReadsTheScenarioFile) {
  std::string path = ::testing::TempDir() + "sim_dll_scenario.txt";
  FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("# a fresh chip that is not yet the instrument\ndescription = FT232R USB UART\n",
             file);
  std::fclose(file);
  ASSERT_EQ(_putenv_s("VRX_SIM_SCENARIO", path.c_str()), 0);

  os::LibraryHandle library = os::LoadLibraryByName("ftd2xx.dll");
  ASSERT_NE(library, nullptr);
  auto openEx = reinterpret_cast<PFT_OpenEx>(os::LibrarySymbol(library, "FT_OpenEx"));
  auto getStatus = reinterpret_cast<PFT_GetStatus>(os::LibrarySymbol(library, "FT_GetStatus"));
  auto configure = reinterpret_cast<PConfigure>(os::LibrarySymbol(library, "VrxSim_Configure"));
  auto counter = reinterpret_cast<PCounter>(os::LibrarySymbol(library, "VrxSim_Counter"));
  ASSERT_TRUE(openEx && getStatus && configure && counter);
  EXPECT_EQ(os::LibrarySymbol(library, "FT_OpenEx@12"), nullptr);

  char description[] = "VRX-470";
  FT_HANDLE handle = nullptr;
  EXPECT_EQ(openEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_DEVICE_NOT_FOUND);
  ASSERT_EQ(configure(""), 1);
  EXPECT_EQ(openEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
  uint32_t rx = 0, tx = 0, events = 0;
  EXPECT_EQ(getStatus(handle, &rx, &tx, &events), FT_OK);
  EXPECT_EQ(getStatus(nullptr, &rx, &tx, &events), FT_INVALID_HANDLE);
  EXPECT_EQ(counter("FT_GetStatus"), 2u);
  std::remove(path.c_str());
}

}  // namespace
#endif
