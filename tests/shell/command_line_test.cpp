#include "tidewell/shell/command_line.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// The options of arguments that must be understood.
CommandLine parsed(const std::vector<std::string>& args) {
  CommandLine options;
  std::string error;
  EXPECT_TRUE(parseCommandLine(args, &options, &error)) << error;
  return options;
}

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
    const CommandLine r = parsed(c.args);
    EXPECT_EQ(r.windowed, c.windowed);
    EXPECT_EQ(r.integerScale, c.integerScale);
    EXPECT_EQ(r.seed, c.seed);
    EXPECT_EQ(r.render.has_value(), c.renderSeconds > 0);
    if (r.render) {
      EXPECT_DOUBLE_EQ(r.render->seconds, c.renderSeconds);
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
    CommandLine options;
    std::string error;
    EXPECT_FALSE(parseCommandLine(args, &options, &error)) << args.front();
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLine, MidiOutAndTheRendersMidiFile) {
  EXPECT_TRUE(parsed({"--midi-out", "--window"}).midiOut);
  EXPECT_FALSE(parsed({"--window"}).midiOut);
  EXPECT_EQ(parsed({"--render", "20", "out.wav", "--midi", "out.mid", "--seed", "3"}).render->midiPath, "out.mid");
  EXPECT_EQ(parsed({"--midi", "a.mid", "--render", "1", "a.wav"}).render->midiPath, "a.mid");
  EXPECT_TRUE(parsed({"--render", "1", "a.wav"}).render->midiPath.empty());
}

TEST(CommandLine, HelpNamesEveryOption) {
  EXPECT_TRUE(parsed({"--help"}).showHelp);
  EXPECT_TRUE(parsed({"--version"}).showVersion);
  EXPECT_TRUE(parsed({"--window", "--link"}).link);
  EXPECT_FALSE(parsed({"--window"}).link);
  const std::string usage = usageText("tidewell");
  for (const char* option :
       {"--window", "--integer-scale", "--link", "--seed", "--render", "--midi", "--midi-out", "--help", "--version"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace tidewell
