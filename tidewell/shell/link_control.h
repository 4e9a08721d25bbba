#pragma once
// Sharing tempo and beats with Link peers on the local network. On at start
// with --link or when the player left it on last time; F11 switches it while
// playing and the choice is kept in the player's choices file. While on, the
// sequencer's beats come from the session; while off (or without a network)
// from its own clock, exactly as without Link. Each change is one line of
// the debug log.
#include "tidewell/picture/picture_context.h"

namespace tidewell {

// The player's choice in the choices file.
constexpr const char* kLinkChoice = "link";

// Called by the program's entry as early as it can, once shellPlatform is
// set: when --link was given or the saved choice is on, the timeline starts
// looking for peers while the window and the samples come up.
void joinLinkEarly(bool fromCommandLine);

// At the end of start-up, once the sequencer is built: its beats come from
// the session joined early, or the debug log says why there is none. Does
// nothing when sharing was not asked for, or without a shared timeline in
// shellPlatform (tests, offline renders).
void startLink();

// F11: on from off, off from on (or from on-without-a-network); the new
// choice is saved.
void toggleLink();

// Back to the sequencer's own clock and off the network, before the
// sequencer or the timeline goes.
void stopLink();

// For the info line's mark.
LinkMark currentLinkMark();
int currentLinkPeers();

}  // namespace tidewell
