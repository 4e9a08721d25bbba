#include "tidewell/shell/command_line.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// What the arguments switch on: windowed, integer scale, Link, MIDI out, help, version.
struct Accepted {
  std::vector<std::string> args;
  const char* switches;  // "w", "i", "l", "m", "h", "v" for each one on
  std::optional<std::uint32_t> seed;
  double renderSeconds;  // 0: no render
  const char* midiPath;  // the render's MIDI file
};

TEST(CommandLine, UnderstandsEachSwitchAloneAndTogether) {
  const Accepted cases[] = {
      {{}, "", std::nullopt, 0, ""},
      {{"--window"}, "w", std::nullopt, 0, ""},
      {{"--integer-scale"}, "i", std::nullopt, 0, ""},
      {{"--window", "--link"}, "wl", std::nullopt, 0, ""},
      {{"--midi-out", "--window"}, "wm", std::nullopt, 0, ""},
      {{"--help"}, "h", std::nullopt, 0, ""},
      {{"--version"}, "v", std::nullopt, 0, ""},
      {{"--seed", "7"}, "", 7u, 0, ""},
      {{"--seed", "4294967295"}, "", 4294967295u, 0, ""},
      {{"--render", "60", "out.wav"}, "", std::nullopt, 60, ""},
      {{"--render", "0.5", "out.wav", "--seed", "0", "--window"}, "w", 0u, 0.5, ""},
      {{"--render", "86400", "o.wav"}, "", std::nullopt, 86400, ""},
      {{"--render", "20", "out.wav", "--midi", "out.mid", "--seed", "3"}, "", 3u, 20, "out.mid"},
      {{"--midi", "a.mid", "--render", "1", "a.wav"}, "", std::nullopt, 1, "a.mid"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CommandLine r;
    std::string error;
    ASSERT_TRUE(parseCommandLine(c.args, &r, &error)) << error;
    const std::string on = c.switches;
    EXPECT_EQ(r.windowed, on.find('w') != std::string::npos);
    EXPECT_EQ(r.integerScale, on.find('i') != std::string::npos);
    EXPECT_EQ(r.link, on.find('l') != std::string::npos);
    EXPECT_EQ(r.midiOut, on.find('m') != std::string::npos);
    EXPECT_EQ(r.showHelp, on.find('h') != std::string::npos);
    EXPECT_EQ(r.showVersion, on.find('v') != std::string::npos);
    EXPECT_EQ(r.seed, c.seed);
    ASSERT_EQ(r.render.has_value(), c.renderSeconds > 0);
    if (r.render) {
      EXPECT_DOUBLE_EQ(r.render->seconds, c.renderSeconds);
      EXPECT_EQ(r.render->midiPath, c.midiPath);
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

TEST(CommandLine, HelpNamesEveryOption) {
  const std::string usage = usageText("tidewell");
  for (const char* option :
       {"--window", "--integer-scale", "--link", "--seed", "--render", "--midi", "--midi-out", "--help", "--version"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace tidewell
