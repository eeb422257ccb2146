// The frames a second start and the running program exchange: what goes through whole, what
// arrives in pieces, and what is refused (a stranger's bytes, another version, too much).
#include "app/instance_protocol.hpp"

#include <gtest/gtest.h>

#include <string>

namespace vembrel {
namespace {

// A frame header for `version` announcing a body of `length` bytes.
std::string header(unsigned version, std::size_t length) {
  std::string bytes = "vmbr";
  bytes += static_cast<char>(version >> 8);
  bytes += static_cast<char>(version & 0xff);
  for (const int shift : {24, 16, 8, 0}) bytes += static_cast<char>((length >> shift) & 0xff);
  return bytes;
}
std::string frame(const std::string& body, unsigned version = kInstanceProtocolVersion) {
  return header(version, body.size()) + body;
}

TEST(InstanceProtocol, RequestsAndRepliesGoThroughWholeAndInAnyPieces) {
  const InstanceRequest requests[] = {
      {"show", {}},
      {"look-up", {"学而时习之", "--in", "古文词典"}},
      {"look-up", {"", " ", "two\nlines"}},  // empty and odd arguments stay as they are
  };
  for (const InstanceRequest& request : requests) {
    const std::string bytes = encode_request(request);
    ASSERT_FALSE(bytes.empty()) << request.verb;
    // Every piece short of the whole frame asks for more; the whole frame is the request.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
      ASSERT_EQ(decode_request(bytes.substr(0, cut)).state, FrameState::Incomplete) << cut;
    const Decoded<InstanceRequest> decoded = decode_request(bytes);
    ASSERT_EQ(decoded.state, FrameState::Complete) << decoded.problem;
    EXPECT_EQ(decoded.message, request);
  }

  const struct {
    InstanceReply sent, received;
  } replies[] = {
      {{0, ""}, {0, ""}},
      {{1, "没有这个词典"}, {1, "没有这个词典"}},
      {{255, "two\nlines\r\n"}, {255, "two lines  "}},  // one line, whatever the handler said
  };
  for (const auto& [sent, received] : replies) {
    const std::string bytes = encode_reply(sent);
    ASSERT_FALSE(bytes.empty()) << sent.text;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
      ASSERT_EQ(decode_reply(bytes.substr(0, cut)).state, FrameState::Incomplete) << cut;
    const Decoded<InstanceReply> decoded = decode_reply(bytes);
    ASSERT_EQ(decoded.state, FrameState::Complete) << decoded.problem;
    EXPECT_EQ(decoded.message, received);
  }
}

TEST(InstanceProtocol, RefusesWhatIsNoFrameOfThisVersionAsSoonAsItShows) {
  const std::string show = encode_request({"show", {}});
  const struct {
    const char* name;
    std::string bytes;
    bool as_request;
    const char* problem;  // a part of the reason given
  } cases[] = {
      {"a stranger's first byte", "V", true, "not a Vembrel"},
      {"a stranger's line", "GET / HTTP/1.0\r\n\r\n", true, "not a Vembrel"},
      {"another version, header only", header(2, 5), true, "version 2, expected 1"},
      {"version 0", frame(std::string("show\0", 5), 0), true, "version 0"},
      {"too long, told by the header alone", header(1, kMaxFrameBody + 1), true, "more than"},
      {"the longest length there is", header(1, 0xffffffffu), false, "more than"},
      {"bytes after the request", show + "x", true, "after the frame"},
      {"two requests on one connection", show + show, true, "after the frame"},
      {"a request without a verb", frame(std::string("\0", 1)), true, "without a verb"},
      {"a request with an unended field", frame("show"), true, "not ended"},
      {"an empty request", frame(""), true, "not ended"},
      {"a reply without a status", frame(""), false, "without a status"},
      {"a reply of two lines", frame(std::string("\0a\nb", 4)), false, "one line"},
  };
  for (const auto& c : cases) {
    const std::string problem =
        c.as_request ? decode_request(c.bytes).problem : decode_reply(c.bytes).problem;
    const FrameState state =
        c.as_request ? decode_request(c.bytes).state : decode_reply(c.bytes).state;
    EXPECT_EQ(state, FrameState::Invalid) << c.name;
    EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
  }
}

TEST(InstanceProtocol, EncodesNothingThatCannotBeSentWhole) {
  EXPECT_EQ(encode_request({"", {}}), "");
  EXPECT_EQ(encode_request({std::string("sh\0w", 4), {}}), "");
  EXPECT_EQ(encode_request({"look-up", {std::string("a\0b", 3)}}), "");
  EXPECT_EQ(encode_request({"look-up", {std::string(kMaxFrameBody, 'x')}}), "");
  EXPECT_NE(encode_request({"look-up", {std::string(kMaxFrameBody - 9, 'x')}}), "");
  EXPECT_EQ(encode_reply({256, ""}), "");
  EXPECT_EQ(encode_reply({-1, ""}), "");
  EXPECT_EQ(encode_reply({0, std::string(kMaxFrameBody, 'x')}), "");
}

TEST(InstanceProtocol, ALookupGoesThroughAFrameAndOnlyAWellFormedOneIsRead) {
  const LookupRequest lookups[] = {
      {LookupSource::Text, "", "画蛇添足"}, {LookupSource::Text, "cy", "画蛇添足"},
      {LookupSource::Selection, "", ""},    {LookupSource::Selection, "xh", ""},
      {LookupSource::Clipboard, "zd", ""},
  };
  for (const LookupRequest& lookup : lookups) {
    const Decoded<InstanceRequest> decoded =
        decode_request(encode_request(make_lookup_request(lookup)));
    ASSERT_EQ(decoded.state, FrameState::Complete) << lookup.text;
    EXPECT_EQ(read_lookup_request(decoded.message), lookup) << lookup.text;
  }
  EXPECT_EQ(make_lookup_request({LookupSource::Text, "", "好"}),
            (InstanceRequest{"lookup", {"text", "choose", "好"}}));

  const struct {
    const char* name;
    InstanceRequest request;
  } refused[] = {
      {"another verb", {"show", {"text", "choose", "好"}}},
      {"too few fields", {"lookup", {"text", "choose"}}},
      {"too many fields", {"lookup", {"text", "choose", "好", "坏"}}},
      {"an unknown source", {"lookup", {"primary", "choose", ""}}},
      {"an unknown dictionary", {"lookup", {"text", "xx", "好"}}},
      {"an empty dictionary", {"lookup", {"text", "", "好"}}},
      {"a text without text", {"lookup", {"text", "cy", ""}}},
      {"a selection with a text", {"lookup", {"selection", "choose", "好"}}},
  };
  for (const auto& c : refused) EXPECT_EQ(read_lookup_request(c.request), std::nullopt) << c.name;
}

}  // namespace
}  // namespace vembrel
