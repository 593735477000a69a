#include "standin/trace.hpp"

#include <cstdio>

namespace standin {

std::string Call::line() const {
  std::string out = routine;
  for (const Arg& a : args) {
    out += ' ';
    out += a.text;
  }
  return out;
}

Arg arg_int(std::int64_t v) { return {std::to_string(v), static_cast<double>(v), true}; }

Arg arg_hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return {buf, static_cast<double>(v), true};
}

Arg arg_float(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
  return {buf, static_cast<double>(v), true};
}

Arg arg_text(const char* s) {
  std::string out = "\"";
  for (const char* p = s; p && *p; ++p) {
    if (*p == '"' || *p == '\\') out += '\\';
    out += *p;
  }
  out += '"';
  return {out, 0, false};
}

Arg arg_name(const std::string& name) { return {name, 0, false}; }

void Trace::add(std::string routine, std::vector<Arg> args) {
  if (recording_) calls_.push_back({std::move(routine), std::move(args)});
}

std::vector<Call> Trace::take() {
  std::vector<Call> out;
  out.swap(calls_);
  return out;
}

}  // namespace standin
