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
//   base 0xADDRESS                                 (i386) the game as loaded at another base: a
//                                                  copy of its image there, sites as in the image
//   code 0xADDRESS HH HH ..                        the game's code there is these bytes
//   image-end 0xADDRESS                            (i386) a smaller executable: the image ends
//                                                  there, nothing is mapped beyond (the later
//                                                  probes, the variables); keys typed and the
//                                                  screen size then go nowhere
//   kill-at N / stop-at N                          before the Nth frame command the stand-in is
//                                                  killed (SIGKILL; TerminateProcess), or the
//                                                  session ends there as if its text ended
//   resources mark                                 remembers open handles and heap bytes in use
//   expect resources [BYTES]                       as many handles as marked, heap grown by at
//                                                  most BYTES (0); heap only where measurable
//   snapshot                                       remembers the game's bytes
//   expect al|eax 0xVALUE                          result of the last call site
//   expect bytes 0xADDRESS HH HH ..                game bytes (?? matches any)
//   expect unchanged [0xADDRESS N]                 game code as at the last snapshot (data pages
//                                                  such as the cheat buffer are not compared)
//   expect target 0xADDRESS NAME                   a CALL there leads into plugin NAME
//   expect violation                               the last call site broke the calling rules
//
// The world (objects are named by the session; the trace shows them by these names, the player
// as "player", its object at +0x47C as "player+0x47C", the camera as "camera", vectors as
// "(x,y,z)" compared per component, out pointers as "out"):
//   entity NAME MODEL X Y Z [matrix MX MY MZ]      places an object, or moves it in place
//   remove NAME                                    it goes; its memory stays, named ~NAME
//   player X Y Z [matrix MX MY MZ] / player none   the player (at 0 0 0 until set) or none
//   result600F70 VALUE                             what the routine on player+0x47C returns (1)
//   camera DX DY DZ                                aim direction: the ray ends at origin + range * D
//   aim NAME X Y Z / aim noobject X Y Z / aim nothing
//                                                  what the line of sight hits: NAME at the point,
//                                                  a point without an object (null), or nothing
//   offscreen NAME / offscreen X Y Z / onscreen    points (NAME: its position) that do not project;
//                                                  otherwise points with y >= 1 project, camera at
//                                                  0 0 0 looking along +y: screen W/2 + (x/y)W/2,
//                                                  H/2 - (z/y)H/2, sizes W/y and H/y
//   modelinfo MODEL BYTE                           byte 13 of the model's information record (0)
//   draw NAME...                                   the game draws these objects (code at 0x535FC3)
//   frame                                          site 0x53C077, draw every object, site 0x53E293
//   workdir                                        a fresh empty folder SESSION.work, in the folder
//                                                  the stand-in started in, becomes the current one
//                                                  (until the session ends)
//   folder NAME                                    creates a folder in the current directory
//   expect logfile FILE                            kestrow.log equals FILE (beside the session)
//                                                  byte for byte, FILE's LFs as the build's line
//                                                  ends (CRLF in the Windows build)
//   expect log-lines N / expect log-last TEXT      line count, last line; line ends the build's own
//   expect no-log                                  there is no kestrow.log file
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "standin/game.hpp"
#include "standin/plugins.hpp"

namespace standin {

// The calls of one frame: those of one 'frame' command, or of one 'map' command (the map page).
// Frames are counted from 1 in the order played.
struct FrameCalls {
  const std::string& session;
  int number;
  bool map_page;
  const std::vector<Call>& calls;
  const Game& game;  // as it was when the frame was drawn
};

struct SessionOptions {
  bool echo = true;  // print each command and the calls it made
  std::function<void(const FrameCalls&)> on_frame;  // before the calls are echoed and checked
};

// Plays a session; returns the number of failed expectations (or -1 when it could not run).
int play_session(const std::string& path, Game& game, Plugins& plugins, const SessionOptions& options,
                 std::ostream& out);

// The same for a session held in memory; `name` labels messages.
int play_session_text(const std::string& text, const std::string& name, Game& game, Plugins& plugins,
                      const SessionOptions& options, std::ostream& out);

}  // namespace standin
