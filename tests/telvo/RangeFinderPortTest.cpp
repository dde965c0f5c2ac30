#include "telvo/RangeFinderPort.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct PortCase {
    const char* port;
    const char* override;
    const char* device;
};

void PrintTo(const PortCase& c, std::ostream* os) {
    *os << '"' << c.port << "\" with \"" << c.override << '"';
}

class RangeFinderPortTest : public ::testing::TestWithParam<PortCase> {};

TEST_P(RangeFinderPortTest, MapsThePortNameToADevice) {
    const PortCase& c = GetParam();
    EXPECT_EQ(RangeFinderDevice(QString::fromLatin1(c.port), QString::fromLatin1(c.override)),
              QString::fromLatin1(c.device));
}

INSTANTIATE_TEST_SUITE_P(
    Names, RangeFinderPortTest,
    ::testing::Values(PortCase{"COM4", "", "/dev/rfcomm0"}, PortCase{"com4", "", "/dev/rfcomm0"},
                      PortCase{"COM1", "", "/dev/ttyS0"}, PortCase{"COM12", "", "/dev/ttyS11"},
                      PortCase{"COM0", "", "COM0"}, PortCase{"COM", "", "COM"},
                      PortCase{"COM4x", "", "COM4x"}, PortCase{"ttyUSB0", "", "ttyUSB0"},
                      PortCase{"/dev/pts/7", "", "/dev/pts/7"},
                      // the environment names another device for the program's port
                      PortCase{"COM4", "/dev/pts/3", "/dev/pts/3"},
                      PortCase{"COM4", " ttyACM0 ", "ttyACM0"},
                      PortCase{"COM4", "   ", "/dev/rfcomm0"},
                      // a path given by the caller is not overridden
                      PortCase{"/dev/ttyUSB1", "/dev/pts/3", "/dev/ttyUSB1"}));

} // namespace
