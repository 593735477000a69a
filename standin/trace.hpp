#pragma once
// The record of every game-routine call the plugins make, with its arguments.
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Arg {
  std::string text;     // as printed in the trace
  double number = 0;    // exact value for numeric arguments (floats widen exactly)
  bool numeric = false;
};

struct Call {
  std::string routine;
  std::vector<Arg> args;
  std::string line() const;  // "routine arg arg ..."
};

Arg arg_int(std::int64_t v);
Arg arg_hex(std::uint32_t v);
Arg arg_float(float v);
Arg arg_text(const char* s);
Arg arg_name(const std::string& name);

class Trace {
 public:
  void add(std::string routine, std::vector<Arg> args);
  std::vector<Call> take();  // the calls since the last take
  const std::vector<Call>& pending() const { return calls_; }
  // Off, the routines return at once without building their arguments, so that what a
  // benchmark measures is the plugin code and not the record keeping.
  void set_recording(bool on) { recording_ = on; }
  bool recording() const { return recording_; }

 private:
  std::vector<Call> calls_;
  bool recording_ = true;
};

}  // namespace standin
