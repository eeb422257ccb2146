#pragma once
// What the running program does for a later start: shows its character, or looks up the
// text the later start was given.

#include "app/instance_protocol.hpp"

namespace vembrel {

class VembrelForm;

// The character comes forward first (a hidden one says nothing), then answers. The reply goes
// once the answer is queued.
InstanceReply answer_lookup(VembrelForm& form, const LookupRequest& lookup);
InstanceReply answer_request(VembrelForm& form, const InstanceRequest& request);

}  // namespace vembrel
