#include "tidewell/shell/command_line.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

struct Accepted {
  std::vector<std::string> args;
  bool windowed;
  bool integerScale;
  std::optional<std::uint32_t> seed;
  double renderSeconds;  // 0: no render
};

TEST(CommandLine, UnderstandsEachSwitchAloneAndTogether) {
  const Accepted cases[] = {
      {{}, false, false, std::nullopt, 0},
      {{"--window"}, true, false, std::nullopt, 0},
      {{"--integer-scale"}, false, true, std::nullopt, 0},
      {{"--seed", "7"}, false, false, 7u, 0},
      {{"--seed", "4294967295"}, false, false, 4294967295u, 0},
      {{"--render", "60", "out.wav"}, false, false, std::nullopt, 60},
      {{"--render", "0.5", "out.wav", "--seed", "0", "--window"}, true, false, 0u, 0.5},
      {{"--render", "86400", "o.wav"}, false, false, std::nullopt, 86400},
  };
  for (const Accepted& c : cases) {
    const CommandLineResult r = parseCommandLine(c.args);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.windowed, c.windowed);
    EXPECT_EQ(r.options.integerScale, c.integerScale);
    EXPECT_EQ(r.options.seed, c.seed);
    EXPECT_EQ(r.options.render.has_value(), c.renderSeconds > 0);
    if (r.options.render) {
      EXPECT_DOUBLE_EQ(r.options.render->seconds, c.renderSeconds);
    }
  }
}

TEST(CommandLine, RefusesBadArgumentsWithAMessage) {
  const std::vector<std::vector<std::string>> refused = {
      {"--render"},           {"--render", "60"},         {"--render", "0", "o.wav"},
      {"--render", "-5", "o.wav"}, {"--render", "abc", "o.wav"}, {"--render", "86401", "o.wav"},
      {"--render", "nan", "o.wav"}, {"--render", "inf", "o.wav"}, {"--render", "60", ""},
      {"--seed"},             {"--seed", "-1"},           {"--seed", "4294967296"},
      {"--seed", "7x"},       {"--fullscreen"},           {"extra"},
      {"--midi", "o.mid"},    {"--render", "5", "o.wav", "--midi"}, {"--render", "5", "o.wav", "--midi", ""},
  };
  for (const auto& args : refused) {
    const CommandLineResult r = parseCommandLine(args);
    EXPECT_FALSE(r.ok()) << args.front();
    EXPECT_FALSE(r.error.empty());
  }
}

TEST(CommandLine, MidiOutAndTheRendersMidiFile) {
  EXPECT_TRUE(parseCommandLine({"--midi-out", "--window"}).options.midiOut);
  EXPECT_FALSE(parseCommandLine({"--window"}).options.midiOut);
  const CommandLineResult r = parseCommandLine({"--render", "20", "out.wav", "--midi", "out.mid", "--seed", "3"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.render->midiPath, "out.mid");
  EXPECT_EQ(parseCommandLine({"--midi", "a.mid", "--render", "1", "a.wav"}).options.render->midiPath, "a.mid");
  EXPECT_TRUE(parseCommandLine({"--render", "1", "a.wav"}).options.render->midiPath.empty());
}

TEST(CommandLine, HelpNamesEveryOption) {
  EXPECT_TRUE(parseCommandLine({"--help"}).options.showHelp);
  EXPECT_TRUE(parseCommandLine({"--version"}).options.showVersion);
  EXPECT_TRUE(parseCommandLine({"--window", "--link"}).options.link);
  EXPECT_FALSE(parseCommandLine({"--window"}).options.link);
  const std::string usage = usageText("tidewell");
  for (const char* option :
       {"--window", "--integer-scale", "--link", "--seed", "--render", "--midi", "--midi-out", "--help", "--version"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace tidewell
