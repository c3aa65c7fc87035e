#pragma once

#include <string>
#include <vector>

#include "kit/Ports.h"

namespace selvane {

// The recommendation: subject, twelve body lines joined by LF, no recipient.
MailMessage tellAFriendMessage(const std::string& makerSite);

// "Email To A Friend": hands the message to the mail composer; the "Email Error" box when none
// could be started (or there is no mail port).
void cmdEmail(const std::string& makerSite, MailPort* mail, MessageBoxPort* messages);

// The desktop composer's command line: xdg-email [--subject S] [--body B] [recipient].
std::vector<std::string> xdgEmailArguments(const MailMessage& message);

// The same message as a mailto: address, every byte outside the unreserved set percent-encoded.
std::string mailtoAddress(const MailMessage& message);

}  // namespace selvane
