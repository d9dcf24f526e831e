// Linked into the arithmetic tests: the test thread computes in extended precision, as the
// connection thread does, whatever the start-up code of the platform left behind.
#include <gtest/gtest.h>

#include "fpu_precision.h"

namespace {

class ExtendedPrecisionEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EnsureExtendedPrecision(); }
};

const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ExtendedPrecisionEnvironment);

}  // namespace
