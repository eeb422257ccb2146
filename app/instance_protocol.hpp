#pragma once
// What a second start and the running program say to each other over the single-instance
// socket: one request, one reply, each a frame of its own on the connection.
//
// A frame is the magic "vmbr", a 16-bit version and a 32-bit body length (both big-endian),
// then the body. A request's body is the verb and its arguments, each ended by a NUL byte
// (command-line arguments cannot hold one); a reply's body is one status byte and one line
// of text. Bodies are capped, so a stranger's bytes cannot make the program buffer without
// end; anything that is not such a frame is refused, never guessed at.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vembrel {

constexpr std::uint16_t kInstanceProtocolVersion = 1;
constexpr std::size_t kFrameHeaderSize = 10;
constexpr std::size_t kMaxFrameBody = 64 * 1024;

// What the second start asks for: "show" (bring up the character), without arguments, or
// "lookup" (see LookupRequest); a verb that takes arguments passes them as fields.
struct InstanceRequest {
  std::string verb;
  std::vector<std::string> arguments;
  bool operator==(const InstanceRequest&) const = default;
};

// The running program's answer, sent once the work is done: the status the second start
// exits with (0 done, 1 refused) and one line it may print.
struct InstanceReply {
  int status = 0;
  std::string text;
  bool operator==(const InstanceReply&) const = default;
};

enum class FrameState {
  Incomplete,  // the bytes so far begin a frame: wait for more
  Complete,    // exactly one frame
  Invalid,     // not a frame of this version, or too large: drop the connection
};

template <typename Message>
struct Decoded {
  FrameState state = FrameState::Incomplete;
  Message message;
  std::string problem;  // why the bytes are Invalid
};

// Encoding fails only for what no frame can carry (an empty verb, a NUL inside a field, a
// body over the cap, a status outside 0..255): then the result is empty. A reply's line
// breaks become blanks, so that its text stays one line.
std::string encode_request(const InstanceRequest& request);
std::string encode_reply(const InstanceReply& reply);

// Reads everything received on a connection so far.
Decoded<InstanceRequest> decode_request(std::string_view bytes);
Decoded<InstanceReply> decode_reply(std::string_view bytes);

// Where the text of a lookup asked for from outside comes from. The selection and the
// clipboard are read by the program that shows the character: it has the display open.
enum class LookupSource { Text, Selection, Clipboard };

// A lookup from the command line: the verb "lookup" with three fields, the source ("text",
// "selection" or "clipboard"), the dictionary's short name ("cy") or "choose", and the text
// in UTF-8 (empty unless the source is "text").
struct LookupRequest {
  LookupSource source = LookupSource::Text;
  std::string dictionary;  // a short name as dictionary_by_code() knows it; empty: choose
  std::string text;
  bool operator==(const LookupRequest&) const = default;
};

InstanceRequest make_lookup_request(const LookupRequest& lookup);
// The lookup a request carries, or nothing when it is none or not well formed.
std::optional<LookupRequest> read_lookup_request(const InstanceRequest& request);

}  // namespace vembrel
