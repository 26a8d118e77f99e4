#pragma once
// An online session in the window (or headless, scripted): the title on each machine, then the
// host's menu shared by all, its matches, and back to the menu after each.
#include <functional>
#include <string>

#include "match/play/online_match.h"

namespace kelmora {
struct Game;

// Runs the session's screens until the program ends; returns the exit status. A headless run
// ends after its first match (its result told to `onResult`), or when the session cannot open.
int RunOnlineScreens(Game& g, const OnlineOptions& o, const std::function<void(int)>& onConfirmed,
                     const std::function<void(const std::string&)>& onRecordLine,
                     const std::function<void(const OnlineResult&)>& onResult);

}  // namespace kelmora
