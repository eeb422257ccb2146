#include "app/instance_protocol.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "lookup/dictionary_choice.hpp"

namespace vembrel {
namespace {

constexpr std::string_view kMagic = "vmbr";

std::string frame(const std::string& body) {
  if (body.size() > kMaxFrameBody) return {};
  std::string bytes(kMagic);
  bytes += static_cast<char>(kInstanceProtocolVersion >> 8);
  bytes += static_cast<char>(kInstanceProtocolVersion & 0xff);
  for (const int shift : {24, 16, 8, 0}) bytes += static_cast<char>((body.size() >> shift) & 0xff);
  return bytes + body;
}

unsigned byte_at(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

// The body of the one frame in `bytes`, or why there is none yet or never will be.
Decoded<std::string_view> unframe(std::string_view bytes) {
  Decoded<std::string_view> result;
  // A wrong magic or version shows as soon as its bytes arrive.
  const std::size_t magic_seen = std::min(bytes.size(), kMagic.size());
  if (bytes.substr(0, magic_seen) != kMagic.substr(0, magic_seen)) {
    result.state = FrameState::Invalid;
    result.problem = "not a Vembrel request or reply";
    return result;
  }
  if (bytes.size() < kFrameHeaderSize) return result;
  const unsigned version = byte_at(bytes, 4) << 8 | byte_at(bytes, 5);
  std::size_t length = 0;
  for (std::size_t i = 6; i < kFrameHeaderSize; ++i) length = length << 8 | byte_at(bytes, i);
  if (version != kInstanceProtocolVersion) {
    result.state = FrameState::Invalid;
    result.problem = "protocol version " + std::to_string(version) + ", expected " +
                     std::to_string(kInstanceProtocolVersion);
  } else if (length > kMaxFrameBody) {
    result.state = FrameState::Invalid;
    result.problem = "a body of " + std::to_string(length) + " bytes, more than the " +
                     std::to_string(kMaxFrameBody) + " allowed";
  } else if (bytes.size() > kFrameHeaderSize + length) {
    result.state = FrameState::Invalid;
    result.problem = "bytes after the frame";
  } else if (bytes.size() == kFrameHeaderSize + length) {
    result.state = FrameState::Complete;
    result.message = bytes.substr(kFrameHeaderSize);
  }
  return result;
}

template <typename Message>
Decoded<Message> not_complete(const Decoded<std::string_view>& body) {
  Decoded<Message> result;
  result.state = body.state;
  result.problem = body.problem;
  return result;
}

template <typename Message>
Decoded<Message> invalid(std::string problem) {
  Decoded<Message> result;
  result.state = FrameState::Invalid;
  result.problem = std::move(problem);
  return result;
}

constexpr std::string_view kLookupVerb = "lookup";
constexpr std::string_view kChoose = "choose";
constexpr std::array<std::pair<LookupSource, std::string_view>, 3> kSourceNames{{
    {LookupSource::Text, "text"},
    {LookupSource::Selection, "selection"},
    {LookupSource::Clipboard, "clipboard"},
}};

}  // namespace

std::string encode_request(const InstanceRequest& request) {
  if (request.verb.empty()) return {};
  std::string body;
  for (const std::string& field : request.arguments) body += field + '\0';
  body.insert(0, request.verb + '\0');
  const auto fields = static_cast<std::size_t>(std::count(body.begin(), body.end(), '\0'));
  if (fields != request.arguments.size() + 1) return {};  // a NUL inside a field
  return frame(body);
}

std::string encode_reply(const InstanceReply& reply) {
  if (reply.status < 0 || reply.status > 255) return {};
  std::string body(1, static_cast<char>(reply.status));
  for (const char c : reply.text) body += c == '\n' || c == '\r' || c == '\0' ? ' ' : c;
  return frame(body);
}

Decoded<InstanceRequest> decode_request(std::string_view bytes) {
  const Decoded<std::string_view> body = unframe(bytes);
  if (body.state != FrameState::Complete) return not_complete<InstanceRequest>(body);
  std::string_view rest = body.message;
  if (rest.empty() || rest.back() != '\0')
    return invalid<InstanceRequest>("a request whose last field is not ended");
  Decoded<InstanceRequest> result;
  result.state = FrameState::Complete;
  for (bool first = true; !rest.empty(); first = false) {
    const std::size_t end = rest.find('\0');
    const std::string field(rest.substr(0, end));
    if (first)
      result.message.verb = field;
    else
      result.message.arguments.push_back(field);
    rest.remove_prefix(end + 1);
  }
  if (result.message.verb.empty()) return invalid<InstanceRequest>("a request without a verb");
  return result;
}

Decoded<InstanceReply> decode_reply(std::string_view bytes) {
  const Decoded<std::string_view> body = unframe(bytes);
  if (body.state != FrameState::Complete) return not_complete<InstanceReply>(body);
  if (body.message.empty()) return invalid<InstanceReply>("a reply without a status");
  const std::string_view text = body.message.substr(1);
  if (text.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos)
    return invalid<InstanceReply>("a reply of more than one line");
  Decoded<InstanceReply> result;
  result.state = FrameState::Complete;
  result.message.status = static_cast<int>(byte_at(body.message, 0));
  result.message.text = std::string(text);
  return result;
}

InstanceRequest make_lookup_request(const LookupRequest& lookup) {
  std::string source;
  for (const auto& [value, name] : kSourceNames)
    if (value == lookup.source) source = name;
  return {std::string(kLookupVerb),
          {source, lookup.dictionary.empty() ? std::string(kChoose) : lookup.dictionary,
           lookup.source == LookupSource::Text ? lookup.text : std::string()}};
}

std::optional<LookupRequest> read_lookup_request(const InstanceRequest& request) {
  if (request.verb != kLookupVerb || request.arguments.size() != 3) return std::nullopt;
  const std::string& source = request.arguments[0];
  const std::string& dictionary = request.arguments[1];
  LookupRequest lookup;
  const auto named = std::find_if(kSourceNames.begin(), kSourceNames.end(),
                                  [&](const auto& entry) { return entry.second == source; });
  if (named == kSourceNames.end()) return std::nullopt;
  lookup.source = named->first;
  if (dictionary != kChoose) {
    if (dictionary_by_code(dictionary) == nullptr) return std::nullopt;
    lookup.dictionary = dictionary;
  }
  lookup.text = request.arguments[2];
  // A text goes with the text source alone; the others read theirs when the request comes.
  if ((lookup.source == LookupSource::Text) == lookup.text.empty()) return std::nullopt;
  return lookup;
}

}  // namespace vembrel
