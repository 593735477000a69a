#pragma once
// Scripted sessions: a small text format a person can read and edit. One command per line;
// '#' starts a comment. Lines starting with '|' list the game calls the preceding action must
// make, all of them and in order; numbers in them compare to 1e-6 (relative), text exactly.
//
//   build 1001|1002|1011|1101|1111|3200|3210|none   probe bytes of a game build
//   screen W H                                     screen size in pixels
//   load NAME / unload NAME                        a plugin, as the game's loader does it
//   menu X Y                                       the map page's coordinates
//   mapresult 0xVALUE                              what the game's map-page routine returns in EAX
//   mapsite call|jump|call-indirect|jump-indirect|undecodable
//   map                                            the game draws its map page (site 0x57BA28)
//   site 0xADDRESS                                 the game passes an event call site
//   type TEXT                                      keys typed into the cheat buffer
//   press left|middle / release left|middle        mouse buttons
//   record on|off                                  recording of game calls (off for long runs)
//   repeat N ... end                               the commands between, N times
//   snapshot                                       remembers the game's bytes
//   expect al|eax 0xVALUE                          result of the last call site
//   expect bytes 0xADDRESS HH HH ..                game bytes (?? matches any)
//   expect unchanged [0xADDRESS N]                 game bytes as at the last snapshot
//   expect target 0xADDRESS NAME                   a CALL there leads into plugin NAME
//   expect violation                               the last call site broke the calling rules
#include <iosfwd>
#include <string>
#include <vector>

#include "standin/game.hpp"
#include "standin/plugins.hpp"

namespace standin {

struct SessionOptions {
  bool echo = true;  // print each command and the calls it made
};

// Plays a session; returns the number of failed expectations (or -1 when it could not run).
int play_session(const std::string& path, Game& game, Plugins& plugins, const SessionOptions& options,
                 std::ostream& out);

// The same for a session held in memory; `name` labels messages.
int play_session_text(const std::string& text, const std::string& name, Game& game, Plugins& plugins,
                      const SessionOptions& options, std::ostream& out);

}  // namespace standin
