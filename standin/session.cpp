#include "standin/session.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "standin/os_keys.hpp"
#include "standin/resources.hpp"
#include "standin/sudden_end.hpp"

namespace standin {
namespace {

std::vector<std::string> split_words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      word += c;
      if (c == '\\' && i + 1 < line.size()) word += line[++i];
      else if (c == '"') quoted = false;
    } else if (c == '"') {
      word += c;
      quoted = true;
    } else if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word), word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

bool parse_number(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    out = static_cast<double>(std::strtoul(s.c_str(), &end, 16));
  } else {
    out = std::strtod(s.c_str(), &end);
  }
  return end && *end == 0;
}

bool numbers_match(double got, double want) {
  const double tolerance = 1e-6 * std::fmax(1.0, std::fabs(want));
  return std::fabs(got - want) <= tolerance;
}

// "(x,y,z)" against "(x,y,z)", component by component.
bool vectors_match(const std::string& got, const std::string& want) {
  if (got.size() < 2 || want.size() < 2 || got.front() != '(' || want.front() != '(' || got.back() != ')' ||
      want.back() != ')')
    return false;
  std::istringstream g(got.substr(1, got.size() - 2)), w(want.substr(1, want.size() - 2));
  std::string a, b;
  while (std::getline(g, a, ',')) {
    double x = 0, y = 0;
    if (!std::getline(w, b, ',') || !parse_number(a, x) || !parse_number(b, y) || !numbers_match(x, y)) return false;
  }
  return !std::getline(w, b, ',');
}

// One expected call line against one recorded call.
bool call_matches(const std::string& expected, const Call& call) {
  const std::vector<std::string> want = split_words(expected);
  if (want.empty() || want[0] != call.routine || want.size() != call.args.size() + 1) return false;
  for (std::size_t i = 0; i < call.args.size(); ++i) {
    const Arg& got = call.args[i];
    double number = 0;
    if (got.numeric && parse_number(want[i + 1], number)) {
      if (!numbers_match(got.number, number)) return false;
    } else if (got.text != want[i + 1] && !vectors_match(got.text, want[i + 1])) {
      return false;
    }
  }
  return true;
}

// The overlay's log, in the stand-in's current directory, and the line end its build writes.
constexpr const char* log_name = "kestrow.log";
#ifdef _WIN32
constexpr const char* log_line_end = "\r\n";
#else
constexpr const char* log_line_end = "\n";
#endif

bool read_file(const std::filesystem::path& path, std::string& content) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  content = text.str();
  return true;
}

// Splits a log into lines; false when a line end is not the build's own or the last line is open.
bool log_lines(const std::string& content, std::vector<std::string>& lines) {
  const std::string end = log_line_end;
  std::size_t from = 0;
  while (from < content.size()) {
    const std::size_t lf = content.find('\n', from);
    if (lf == std::string::npos || lf + 1 < from + end.size() || content.compare(lf + 1 - end.size(), end.size(), end) != 0)
      return false;
    std::string line = content.substr(from, lf + 1 - end.size() - from);
    if (line.find('\r') != std::string::npos) return false;
    lines.push_back(line);
    from = lf + 1;
  }
  return true;
}

// Shows a log's bytes readably: line ends as \r and \n.
std::string visible(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n\n      ") : std::string(1, c);
  return out;
}

bool parse_vec(const std::vector<std::string>& w, std::size_t at, Vec3& v) {
  double x = 0, y = 0, z = 0;
  if (w.size() < at + 3 || !parse_number(w[at], x) || !parse_number(w[at + 1], y) || !parse_number(w[at + 2], z))
    return false;
  v = Vec3{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
  return true;
}

// "X Y Z" or "X Y Z matrix MX MY MZ" from w[at] on.
bool parse_position(const std::vector<std::string>& w, std::size_t at, Vec3& placement, bool& has_matrix, Vec3& matrix) {
  has_matrix = w.size() == at + 7 && w[at + 3] == "matrix" && parse_vec(w, at + 4, matrix);
  return (w.size() == at + 3 || has_matrix) && parse_vec(w, at, placement);
}

struct Line {
  int number;
  std::vector<std::string> words;
  std::string raw;
};

class Player {
 public:
  Player(std::string name, Game& game, Plugins& plugins, const SessionOptions& options, std::ostream& out)
      : name_(std::move(name)), game_(game), plugins_(plugins), options_(options), out_(out) {
    std::error_code ec;
    start_dir_ = std::filesystem::current_path(ec);
    session_dir_ = std::filesystem::absolute(std::filesystem::path(name_), ec).parent_path();
  }

  // A session that changed into its working directory leaves the stand-in where it started.
  ~Player() {
    std::error_code ec;
    if (!start_dir_.empty()) std::filesystem::current_path(start_dir_, ec);
  }

  int play(const std::string& text) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      const std::size_t first = raw.find_first_not_of(" \t");
      if (first == std::string::npos || raw[first] == '#') continue;
      raw = raw.substr(first);
      lines.push_back({number, raw[0] == '|' ? std::vector<std::string>{"|"} : split_words(raw), raw});
    }
    std::size_t i = 0;
    if (!run(lines, i, lines.size())) return -1;
    finish_action();
    return failures_;
  }

 private:
  bool run(const std::vector<Line>& lines, std::size_t& i, std::size_t end) {
    while (i < end && !stopped_) {
      const Line& line = lines[i];
      if (line.words[0] == "|") {
        const std::size_t text = line.raw.find_first_not_of(" \t", 1);
        expected_calls_.push_back({line.number, text == std::string::npos ? "" : line.raw.substr(text)});
        ++i;
        continue;
      }
      if (line.words[0] == "repeat") {
        std::size_t close = i + 1;
        int depth = 1;
        for (; close < end; ++close) {
          if (lines[close].words[0] == "repeat") ++depth;
          if (lines[close].words[0] == "end" && --depth == 0) break;
        }
        if (close == end || line.words.size() != 2) return error(line, "repeat N ... end");
        const long count = std::strtol(line.words[1].c_str(), nullptr, 10);
        for (long n = 0; n < count && !stopped_; ++n) {
          std::size_t j = i + 1;
          if (!run(lines, j, close)) return false;
        }
        i = close + 1;
        continue;
      }
      if (!command(line)) return false;
      ++i;
    }
    return true;
  }

  bool error(const Line& line, const std::string& what) {
    out_ << name_ << ":" << line.number << ": " << what << "\n";
    return false;
  }

  void fail(int line, const std::string& what) {
    ++failures_;
    out_ << name_ << ":" << line << ": FAILED: " << what << "\n";
  }

  // Closes the previous action: its calls against the expected lines, its calling-rule checks.
  void finish_action() {
    std::vector<Call> calls = game_.trace.take();
    if (frame_ != Frame::none && options_.on_frame)
      options_.on_frame({name_, ++frames_, frame_ == Frame::map_page, calls, game_});
    frame_ = Frame::none;
    if (options_.echo)
      for (const Call& c : calls) out_ << "    " << c.line() << "\n";
    if (!expected_calls_.empty()) {
      bool same = calls.size() == expected_calls_.size();
      for (std::size_t k = 0; same && k < calls.size(); ++k) same = call_matches(expected_calls_[k].second, calls[k]);
      if (!same) {
        std::ostringstream what;
        what << "game calls of '" << action_ << "' differ\n  expected:\n";
        for (const auto& e : expected_calls_) what << "    " << e.second << "\n";
        what << "  recorded:\n";
        for (const Call& c : calls) what << "    " << c.line() << "\n";
        fail(expected_calls_.front().first, what.str());
      }
      expected_calls_.clear();
    }
    if (!pending_violations_.empty()) {
      std::string what = "'" + action_ + "' broke the calling rules:";
      for (const std::string& v : pending_violations_) what += "\n    " + v;
      fail(action_line_, what);
      pending_violations_.clear();
    }
  }

  void begin_action(const Line& line) {
    finish_action();
    action_ = line.raw;
    action_line_ = line.number;
    if (line.words.size() == 1 && (line.words[0] == "frame" || line.words[0] == "map"))
      frame_ = line.words[0] == "map" ? Frame::map_page : Frame::world;
    if (options_.echo) out_ << "> " << line.raw << "\n";
  }

  void site_done(const SiteResult& result) {
    last_ = result;
    pending_violations_.insert(pending_violations_.end(), result.violations.begin(), result.violations.end());
  }

  bool world_command(const Line& line, bool& known) {
    const std::vector<std::string>& w = line.words;
    const std::string& c = w[0];
    World& world = game_.world;
    Vec3 v, m;
    bool has_matrix = false;
    double a = 0;
    known = true;
    if (c == "entity" && w.size() >= 3 && parse_number(w[2], a) && a >= 0 && a <= 65535 &&
        parse_position(w, 3, v, has_matrix, m)) {
      world.place(w[1], static_cast<std::uint16_t>(a), v, has_matrix ? &m : nullptr);
    } else if (c == "remove" && w.size() == 2) {
      if (!world.remove(w[1])) return error(line, "no object " + w[1]);
    } else if (c == "player" && w.size() == 2 && w[1] == "none") {
      world.set_player(false);
    } else if (c == "player" && parse_position(w, 1, v, has_matrix, m)) {
      world.place_player(v, has_matrix ? &m : nullptr);
    } else if (c == "result600F70" && w.size() == 2 && parse_number(w[1], a)) {
      world.result_600F70 = static_cast<std::uint32_t>(a);
    } else if (c == "camera" && w.size() == 4 && parse_vec(w, 1, v)) {
      world.aim_direction = v;
    } else if (c == "aim" && w.size() == 2 && w[1] == "nothing") {
      world.aim = AimKind::nothing;
    } else if (c == "aim" && w.size() == 5 && parse_vec(w, 2, v)) {
      world.aim = w[1] == "noobject" ? AimKind::hit_without_entity : AimKind::entity;
      world.aim_entity = w[1];
      world.aim_point = v;
    } else if (c == "offscreen" && w.size() == 4 && parse_vec(w, 1, v)) {
      world.offscreen_points.push_back(v);
    } else if (c == "offscreen" && w.size() == 2) {
      world.offscreen_entities.push_back(w[1]);
    } else if (c == "onscreen" && w.size() == 1) {
      world.offscreen_points.clear();
      world.offscreen_entities.clear();
    } else if (c == "modelinfo" && w.size() == 3 && parse_number(w[1], a)) {
      double byte = 0;
      if (!parse_number(w[2], byte)) return error(line, "modelinfo MODEL BYTE13");
      world.model_info(static_cast<std::uint32_t>(a)).bytes[13] = static_cast<std::uint8_t>(byte);
    } else if (c == "draw" && w.size() >= 2) {
      for (std::size_t k = 1; k < w.size(); ++k) {
        const EntityRecord* e = world.find(w[k]);
        if (!e) return error(line, "no object " + w[k]);
        site_done(game_.run_collector(e));
      }
    } else if (c == "frame" && w.size() == 1) {
      ++frames_played_;
      if (frames_played_ == kill_at_) end_suddenly();
      if (frames_played_ == stop_at_) {
        stopped_ = true;
        return true;
      }
      site_done(game_.run_site(site_53C077, 0xECECECEC));
      for (const EntityRecord* e : world.placed()) site_done(game_.run_collector(e));
      site_done(game_.run_site(site_53E293, 0xECECECEC));
    } else if (c == "workdir" && w.size() == 1) {
      std::error_code ec;
      const std::filesystem::path dir = start_dir_ / (std::filesystem::path(name_).stem().string() + ".work");
      std::filesystem::remove_all(dir, ec);
      std::filesystem::create_directories(dir, ec);
      std::filesystem::current_path(dir, ec);
      if (ec) return error(line, "cannot work in " + dir.string() + ": " + ec.message());
    } else if (c == "folder" && w.size() == 2) {
      std::error_code ec;
      std::filesystem::create_directory(w[1], ec);
      if (ec) return error(line, "cannot create folder " + w[1] + ": " + ec.message());
    } else {
      known = false;
    }
    return true;
  }

  bool command(const Line& line) {
    const std::vector<std::string>& w = line.words;
    const std::string& c = w[0];
    if (c == "expect") return expect(line);
    begin_action(line);
    std::string err;
    double a = 0, b = 0;
    bool known = false;
    if (!world_command(line, known)) return false;
    if (known) return true;
    if (c == "build" && w.size() == 2) {
      game_.set_build(w[1] == "none" ? 0 : std::atoi(w[1].c_str()));
    } else if (c == "screen" && w.size() == 3 && parse_number(w[1], a) && parse_number(w[2], b)) {
      game_.set_screen(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b));
    } else if (c == "load" && w.size() == 2) {
      if (!plugins_.load(w[1], err)) return error(line, "cannot load " + w[1] + ": " + err);
    } else if (c == "unload" && w.size() == 2) {
      if (!plugins_.unload(w[1], err)) return error(line, "cannot unload " + w[1] + ": " + err);
    } else if (c == "menu" && w.size() == 3 && parse_number(w[1], a) && parse_number(w[2], b)) {
      game_.menu.map_x = static_cast<float>(a);
      game_.menu.map_y = static_cast<float>(b);
    } else if (c == "mapresult" && w.size() == 2 && parse_number(w[1], a)) {
      game_.map_routine_result = static_cast<std::uint32_t>(a);
    } else if (c == "mapsite" && w.size() == 2) {
      static const std::pair<const char*, SiteForm> forms[] = {
          {"call", SiteForm::call}, {"jump", SiteForm::jump}, {"call-indirect", SiteForm::call_indirect},
          {"jump-indirect", SiteForm::jump_indirect}, {"undecodable", SiteForm::undecodable}};
      bool known = false;
      for (const auto& f : forms)
        if (w[1] == f.first) game_.set_map_site_form(f.second), known = true;
      if (!known) return error(line, "unknown site form " + w[1]);
    } else if (c == "map" && w.size() == 1) {
      site_done(game_.run_map_page());
    } else if (c == "site" && w.size() == 2 && parse_number(w[1], a)) {
      site_done(game_.run_site(static_cast<addr>(a), 0xECECECEC));
    } else if (c == "type" && w.size() == 2) {
      game_.type(w[1]);
    } else if ((c == "press" || c == "release") && w.size() == 2 && (w[1] == "left" || w[1] == "middle")) {
      game_.set_button(w[1] == "left" ? vk_lbutton : vk_mbutton, c == "press");
    } else if (c == "record" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
      game_.trace.set_recording(w[1] == "on");
    } else if (c == "base" && w.size() == 2 && parse_number(w[1], a)) {
      if (!game_.place_copy_at(static_cast<addr>(a), err)) return error(line, err);
    } else if (c == "code" && w.size() >= 3 && parse_number(w[1], a)) {
      std::vector<std::uint8_t> bytes;
      for (std::size_t k = 2; k < w.size(); ++k) {
        if (!parse_number("0x" + w[k], b) || b > 0xFF) return error(line, "code 0xADDRESS HH HH ..");
        bytes.push_back(static_cast<std::uint8_t>(b));
      }
      if (!game_.image.holds(static_cast<addr>(a), bytes.size())) return error(line, "code outside the image");
      game_.image.write(static_cast<addr>(a), bytes.data(), bytes.size());
    } else if ((c == "kill-at" || c == "stop-at") && w.size() == 2 && parse_number(w[1], a) && a >= 1) {
      (c == "kill-at" ? kill_at_ : stop_at_) = static_cast<long>(a);
    } else if (c == "resources" && w.size() == 2 && w[1] == "mark") {
      marked_ = measure_resources();
    } else if (c == "image-end" && w.size() == 2 && parse_number(w[1], a)) {
      if (!game_.image.end_at(static_cast<addr>(a), err)) return error(line, err);
    } else if (c == "snapshot" && w.size() == 1) {
      snapshot_ = game_.image.read(image_begin, game_.image.end() - image_begin);
    } else {
      return error(line, "cannot read '" + line.raw + "'");
    }
    return true;
  }

  bool expect(const Line& line) {
    const std::vector<std::string>& w = line.words;
    double a = 0, b = 0;
    if (w.size() == 3 && (w[1] == "al" || w[1] == "eax") && parse_number(w[2], a)) {
      const std::uint32_t got = w[1] == "al" ? (last_.eax & 0xFF) : last_.eax;
      if (got != static_cast<std::uint32_t>(a)) fail(line.number, w[1] + " is " + hex(got) + ", expected " + w[2]);
    } else if (w.size() >= 3 && w[1] == "bytes" && parse_number(w[2], a)) {
      const addr at = static_cast<addr>(a);
      const std::vector<std::uint8_t> got = game_.image.read(at, w.size() - 3);
      for (std::size_t k = 3; k < w.size(); ++k) {
        if (w[k] == "??") continue;
        if (!parse_number("0x" + w[k], b) || got[k - 3] != static_cast<std::uint8_t>(b)) {
          fail(line.number, "bytes at " + w[2] + " are " + bytes_text(got) + ", expected" + line.raw.substr(line.raw.find(w[2]) + w[2].size()));
          break;
        }
      }
    } else if (w[1] == "unchanged" && (w.size() == 2 || (w.size() == 4 && parse_number(w[2], a) && parse_number(w[3], b)))) {
      if (snapshot_.empty()) return error(line, "no snapshot taken");
      const addr from = w.size() == 4 ? static_cast<addr>(a) : image_begin;
      const std::size_t n = w.size() == 4 ? static_cast<std::size_t>(b) : game_.image.end() - image_begin;
      if (!game_.image.holds(from, n) || from + n > image_begin + snapshot_.size())
        return error(line, "the range lies outside the snapshot");
      // Page by page in place: long sessions compare the whole image after every unload.
      const auto* now = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(from));
      const std::uint8_t* then = snapshot_.data() + (from - image_begin);
      for (std::size_t k = 0; k < n;) {
        const addr at = static_cast<addr>(from + k);
        const std::size_t run = std::min<std::size_t>(n - k, GameImage::page - at % GameImage::page);
        // Variables change as the game plays; the claim is about its code.
        if (!game_.image.is_data(at) && std::memcmp(now + k, then + k, run) != 0) {
          std::size_t d = k;
          while (now[d] == then[d]) ++d;
          fail(line.number, "game byte at " + hex(static_cast<std::uint32_t>(from + d)) + " changed");
          break;
        }
        k += run;
      }
    } else if (w.size() == 4 && w[1] == "target" && parse_number(w[2], a)) {
      const addr at = static_cast<addr>(a);
      const std::vector<std::uint8_t> code = game_.image.read(at, 5);
      std::uint32_t rel = 0;
      for (int k = 4; k >= 1; --k) rel = (rel << 8) | code[k];
      const std::uintptr_t target = static_cast<std::uint32_t>(at + 5 + rel);
      if (code[0] != 0xE8 || !plugins_.contains(w[3], target))
        fail(line.number, "the code at " + w[2] + " (" + bytes_text(code) + ") does not call into " + w[3]);
    } else if (w.size() == 2 && w[1] == "violation") {
      if (pending_violations_.empty()) fail(line.number, "'" + action_ + "' kept the calling rules");
      pending_violations_.clear();
    } else if (w[1] == "resources" && (w.size() == 2 || (w.size() == 3 && parse_number(w[2], a)))) {
      const Resources now = measure_resources();
      if (marked_.handles < 0 || now.handles < 0) return error(line, "no resources marked, or no handle count here");
      if (now.handles != marked_.handles)
        fail(line.number, "open handles: " + std::to_string(now.handles) + ", marked " + std::to_string(marked_.handles));
      // Not measurable under every build (see resources_linux.cpp): then handles only.
      if (now.heap_bytes >= 0 && marked_.heap_bytes >= 0 && now.heap_bytes - marked_.heap_bytes > static_cast<std::int64_t>(a))
        fail(line.number, "heap in use: " + std::to_string(now.heap_bytes) + " bytes, marked " +
                              std::to_string(marked_.heap_bytes));
      if (options_.echo)
        out_ << "  handles " << now.handles << " (marked " << marked_.handles << "), heap " << now.heap_bytes
             << " bytes (marked " << marked_.heap_bytes << ")\n";
    } else if (w[1] == "logfile" || w[1] == "log-lines" || w[1] == "log-last" || w[1] == "no-log") {
      return expect_log(line);
    } else {
      return error(line, "cannot read '" + line.raw + "'");
    }
    return true;
  }

  bool expect_log(const Line& line) {
    const std::vector<std::string>& w = line.words;
    std::string content;
    const bool present = read_file(log_name, content);
    if (w[1] == "no-log" && w.size() == 2) {
      if (present) fail(line.number, std::string(log_name) + " exists: " + visible(content));
      return true;
    }
    if (!present) {
      fail(line.number, std::string("no readable ") + log_name);
      return true;
    }
    std::vector<std::string> lines;
    const bool well_formed = log_lines(content, lines);
    if (w[1] == "logfile" && w.size() == 3) {
      // The expected file holds LF line ends; the build's own line end replaces each.
      std::string expected_lf, expected;
      const std::filesystem::path file = session_dir_ / w[2];
      if (!read_file(file, expected_lf)) return error(line, "cannot read " + file.string());
      for (char ch : expected_lf)
        if (ch == '\n') expected += log_line_end;
        else if (ch != '\r') expected += ch;
      if (content != expected)
        fail(line.number, std::string(log_name) + " differs from " + w[2] + "\n  expected: " + visible(expected) +
                              "\n  found:    " + visible(content));
    } else if (!well_formed) {
      fail(line.number, std::string(log_name) + " has a line end other than the build's own: " + visible(content));
    } else if (w[1] == "log-lines" && w.size() == 3) {
      if (std::to_string(lines.size()) != w[2])
        fail(line.number, std::string(log_name) + " has " + std::to_string(lines.size()) + " lines, expected " + w[2]);
    } else if (w[1] == "log-last" && w.size() >= 3) {
      const std::string want = line.raw.substr(line.raw.find("log-last") + 9);
      if (lines.empty() || lines.back() != want)
        fail(line.number, std::string(log_name) + "'s last line is '" + (lines.empty() ? "" : lines.back()) +
                              "', expected '" + want + "'");
    } else {
      return error(line, "cannot read '" + line.raw + "'");
    }
    return true;
  }

  static std::string hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
  }

  static std::string bytes_text(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (std::uint8_t byte : bytes) {
      std::snprintf(buf, sizeof buf, "%02X", byte);
      if (!out.empty()) out += ' ';
      out += buf;
    }
    return out;
  }

  std::string name_;
  Game& game_;
  Plugins& plugins_;
  SessionOptions options_;
  std::ostream& out_;
  int failures_ = 0;
  std::string action_ = "start";
  int action_line_ = 0;
  enum class Frame { none, world, map_page } frame_ = Frame::none;
  int frames_ = 0;
  std::vector<std::pair<int, std::string>> expected_calls_;
  std::vector<std::string> pending_violations_;
  SiteResult last_;
  std::vector<std::uint8_t> snapshot_;
  Resources marked_;
  long frames_played_ = 0, kill_at_ = 0, stop_at_ = 0;
  bool stopped_ = false;
  std::filesystem::path start_dir_;
  std::filesystem::path session_dir_;
};

}  // namespace

int play_session_text(const std::string& text, const std::string& name, Game& game, Plugins& plugins,
                      const SessionOptions& options, std::ostream& out) {
  return Player(name, game, plugins, options, out).play(text);
}

int play_session(const std::string& path, Game& game, Plugins& plugins, const SessionOptions& options,
                 std::ostream& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out << path << ": cannot open\n";
    return -1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return play_session_text(text.str(), path, game, plugins, options, out);
}

}  // namespace standin
