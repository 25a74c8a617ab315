// Where students and teachers reach us: one value each, shown by the help
// and about windows and handed to the system by their link labels.
#pragma once

#include "platform/Types.h"

namespace contact {

inline constexpr char kSupportMail[] = "support@tickmoor.example";
inline constexpr char kWebPage[] = "https://tickmoor.example/";

// What the mail label hands to the system: a new message to kSupportMail.
inline tk::String SupportMailURL() { return tk::String("mailto:") + kSupportMail; }

// The colour of a link label's text.
inline constexpr tk::Color kLinkColor = tk::HexColor(0xED181E);

}  // namespace contact
