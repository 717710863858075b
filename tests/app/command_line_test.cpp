// The program's own options, read before any window exists.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kelpra {
namespace {

struct OptionCase {
  std::vector<std::string_view> arguments;
  CommandLineRequest expected;
};

class ReadCommandLineTest : public testing::TestWithParam<OptionCase> {};

TEST_P(ReadCommandLineTest, OnlyAnExactFirstArgumentIsAnOption) {
  EXPECT_EQ(ReadCommandLine(GetParam().arguments), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ReadCommandLineTest,
    testing::Values(OptionCase{{}, CommandLineRequest::OpenViewer},
                    OptionCase{{"--help"}, CommandLineRequest::PrintUsage},
                    OptionCase{{"--version"}, CommandLineRequest::PrintVersion},
                    // A file really named --help, given with its folder, is a picture.
                    OptionCase{{"./--help"}, CommandLineRequest::OpenViewer},
                    OptionCase{{"/home/reader/--version"}, CommandLineRequest::OpenViewer},
                    // Only the first argument counts, as only the first is read as the picture.
                    OptionCase{{"page01.jpg", "--help"}, CommandLineRequest::OpenViewer},
                    OptionCase{{"--version", "page01.jpg"}, CommandLineRequest::PrintVersion},
                    // Nothing else is an option: these stay picture names, as they always were.
                    OptionCase{{"--HELP"}, CommandLineRequest::OpenViewer},
                    OptionCase{{"--help="}, CommandLineRequest::OpenViewer},
                    OptionCase{{"-h"}, CommandLineRequest::OpenViewer},
                    OptionCase{{"--"}, CommandLineRequest::OpenViewer},
                    OptionCase{{""}, CommandLineRequest::OpenViewer}));

std::string Printed(CommandLineRequest request, int& status) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  status = PrintRequested(request, out);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;)
    text += char(c);
  std::fclose(out);
  return text;
}

TEST(PrintRequestedTest, VersionIsOneLineNamingTheProgramBuildAndVersion) {
  int status = -1;
  const std::string text = Printed(CommandLineRequest::PrintVersion, status);
  EXPECT_EQ(status, 0);
  const std::string bits = sizeof(void*) == 8 ? "64bit" : "32bit";
  EXPECT_EQ(text, "Kelpra (" + bits + ") Version 0.3.3b (Qt 6 for Linux)\n");
}

TEST(PrintRequestedTest, UsageNamesTheArgumentAndBothOptions) {
  int status = -1;
  const std::string text = Printed(CommandLineRequest::PrintUsage, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text.rfind("Usage: kelpra [PICTURE]\n", 0), 0u) << text;
  EXPECT_NE(text.find("--help"), std::string::npos);
  EXPECT_NE(text.find("--version"), std::string::npos);
  EXPECT_NE(text.find("./--help"), std::string::npos);
}

// Output that cannot be written must not end as a success.
TEST(PrintRequestedTest, AFullDeviceIsAFailure) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  for (CommandLineRequest request :
       {CommandLineRequest::PrintUsage, CommandLineRequest::PrintVersion}) {
    EXPECT_EQ(PrintRequested(request, full), 1);
    std::clearerr(full);
  }
  std::fclose(full);
}

}  // namespace
}  // namespace kelpra
